// Word's object model (host/word.h) over IDispatch: the object handed to the
// add-in at connection, Application, Windows, Window, Documents, Document and
// FileDialog. Command bars are in office_adapters.h.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "host/word.h"
#include "win32/com_object.h"

namespace plovera::win32 {

// The Application argument of OnConnection; its QueryApplication asks for
// Word's _Application interface.
host::Ref<host::HostObject> wrap_host_object(ComPtr<IDispatch> object);
// Any other automation object handed over (the AddInInst argument); an
// empty Ref for null.
host::Ref<host::Object> wrap_opaque(ComPtr<IDispatch> object);

host::Ref<host::Application> wrap_application(ComPtr<IDispatch> object);
host::Ref<host::Window> wrap_window(ComPtr<IDispatch> object);

}  // namespace plovera::win32
