// How a module's compiled resources become reachable through its handle. vela-rc writes a
// source file whose ModuleResourceRegistration runs when the module is loaded; nothing else
// needs to call these.
#pragma once

#include <cstddef>

namespace vela {

// Makes the blob the resources of the module (executable or shared library) that holds it.
void RegisterModuleResources(const unsigned char* blob, std::size_t size);
void UnregisterModuleResources(const unsigned char* blob);

class ModuleResourceRegistration {
 public:
  ModuleResourceRegistration(const unsigned char* blob, std::size_t size) : blob_(blob) {
    RegisterModuleResources(blob, size);
  }
  ~ModuleResourceRegistration() { UnregisterModuleResources(blob_); }
  ModuleResourceRegistration(const ModuleResourceRegistration&) = delete;
  ModuleResourceRegistration& operator=(const ModuleResourceRegistration&) = delete;

 private:
  const unsigned char* blob_;
};

}  // namespace vela
