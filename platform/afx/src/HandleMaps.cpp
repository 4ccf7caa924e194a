// The handle maps of drawing objects and DCs.
#include "HandleMaps.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace vela::afx {
namespace {

// Objects may be attached on one thread and destroyed on another, so the permanent map is
// shared; the temporaries are per thread, as the idle time that frees them is.
std::mutex& PermanentLock() {
    static std::mutex lock;
    return lock;
}
std::unordered_map<const void*, CObject*>& Permanent() {
    static auto* map = new std::unordered_map<const void*, CObject*>;  // outlives static objects
    return *map;
}

// Temporaries only wrap handles they do not own: they forget the handle before they go.
struct TemporaryGdiObjects {
    std::map<std::pair<HGDIOBJ, const CRuntimeClass*>, std::unique_ptr<CGdiObject>> objects;
    void Clear() {
        for (auto& [key, object] : objects) object->m_hObject = nullptr;
        objects.clear();
    }
    ~TemporaryGdiObjects() { Clear(); }
};

struct TemporaryDcs {
    std::unordered_map<HDC, std::unique_ptr<CDC>> dcs;
    void Clear() {
        for (auto& [key, dc] : dcs) dc->m_hDC = dc->m_hAttribDC = nullptr;
        dcs.clear();
    }
    ~TemporaryDcs() { Clear(); }
};

thread_local TemporaryGdiObjects t_gdiObjects;
thread_local TemporaryDcs t_dcs;

}  // namespace

CObject* FindPermanent(const void* handle, const CRuntimeClass* wanted) {
    std::lock_guard<std::mutex> guard(PermanentLock());
    auto it = Permanent().find(handle);
    if (it == Permanent().end() || !it->second->IsKindOf(wanted)) return nullptr;
    return it->second;
}

void AddPermanent(const void* handle, CObject* object) {
    std::lock_guard<std::mutex> guard(PermanentLock());
    Permanent()[handle] = object;
}

void RemovePermanent(const void* handle, const CObject* object) {
    std::lock_guard<std::mutex> guard(PermanentLock());
    auto it = Permanent().find(handle);
    if (it != Permanent().end() && it->second == object) Permanent().erase(it);
}

CGdiObject* TemporaryGdiObject(HGDIOBJ handle, const CRuntimeClass* cls, CGdiObject* (*make)()) {
    auto& slot = t_gdiObjects.objects[{handle, cls}];
    if (!slot) {
        slot.reset(make());
        slot->m_hObject = handle;
    }
    return slot.get();
}

CDC* TemporaryDc(HDC handle) {
    auto& slot = t_dcs.dcs[handle];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->m_hDC = slot->m_hAttribDC = handle;
    }
    return slot.get();
}

void DeleteTemporaryGdiObjects() { t_gdiObjects.Clear(); }
void DeleteTemporaryDcs() { t_dcs.Clear(); }

}  // namespace vela::afx
