// The platform's own window classes (static, button, edit, the dialog class ...). Their code
// registers a function at static-initialisation time; the window manager calls every such
// function once, on the first use of window classes or windows in the process, so the classes
// exist before any application looks for them. The functions call RegisterClassW with
// CS_GLOBALCLASS.
#pragma once

namespace vela::user {

using SystemClassRegistrar = void (*)();

struct SystemClassRegistration {
  explicit SystemClassRegistration(SystemClassRegistrar registrar);
};

// Runs the registrars not yet run (idempotent, thread-safe).
void EnsureSystemClasses();

}  // namespace vela::user
