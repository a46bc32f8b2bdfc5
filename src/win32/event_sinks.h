// Receivers of Word's and Office's events: sink objects advised on the
// source's connection point, each turning Invoke calls into calls on a
// host receiver. Releasing the returned Subscription unadvises the sink and
// detaches it from the receiver, so nothing is delivered after that even if
// the source keeps a stale reference.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "host/word.h"

namespace plovera::win32 {

// Word's application events: advised on ApplicationEvents4, else
// ApplicationEvents3, else ApplicationEvents2 (older Word versions).
host::Ref<host::Subscription> advise_application_events(IDispatch* application,
                                                        host::ApplicationEvents& receiver);

// A command-bar button's Click (_CommandBarButtonEvents).
host::Ref<host::Subscription> advise_button_events(IDispatch* button,
                                                   host::ButtonEvents& receiver);

}  // namespace plovera::win32
