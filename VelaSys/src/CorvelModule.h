// "Corvel.dll" loaded by name for the length of one call, for the functions that not every
// terminal's Corvel has. Released again when the object goes out of scope.
#pragma once

#include <windows.h>

namespace velasys {

class CorvelModule {
public:
    CorvelModule() : m_module(LoadLibrary(u"Corvel.dll")) {}
    ~CorvelModule() {
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    CorvelModule(const CorvelModule&) = delete;
    CorvelModule& operator=(const CorvelModule&) = delete;

    bool Loaded() const { return m_module != nullptr; }

    // The export of that name as a Proc, or nullptr. The generic void(*)() in between tells
    // the compiler that the caller knows the export's real type.
    template <typename Proc>
    Proc* Find(LPCWSTR name) const {
        if (m_module == nullptr) return nullptr;
        return reinterpret_cast<Proc*>(reinterpret_cast<void (*)()>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module;
};

}  // namespace velasys
