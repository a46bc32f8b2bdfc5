// The Win32 forms engine: first cut, so that the add-in DLL links while the
// form window, its drawn elements and its pictures are being written.
#include "win32/form_engine.h"

#include "host/error.h"

namespace plovera::win32 {

Win32FormEngine::Win32FormEngine(HINSTANCE module) : module_(module) {}

Win32FormEngine::~Win32FormEngine() = default;

std::unique_ptr<host::Form> Win32FormEngine::CreateForm(host::FormEvents&) {
  throw_host_error(status::fail, "FormEngine.CreateForm");  // not written yet
}

}  // namespace plovera::win32
