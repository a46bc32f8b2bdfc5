# Plovera's identity: the names and values the version resource, the
# installers and their tests are made from. The version itself is the
# project's (project(plovera VERSION ...) in the top CMakeLists.txt).
#
# The add-in's own registration (DllRegisterServer in src/win32) writes the
# same class and add-in key; the installer test under Wine compares what the
# packages write with what it writes.
set(PLOVERA_COMPANY "Quennix")
set(PLOVERA_PRODUCT "Plovera")
set(PLOVERA_FILE_DESCRIPTION "Plovera document tabs for Microsoft Word")
set(PLOVERA_COPYRIGHT "Copyright (C) 2026 Quennix")
set(PLOVERA_WEB_SITE "https://www.quennix.com/plovera/")

# The COM class Word creates, and Word's add-in key for it.
set(PLOVERA_CLSID "{2EE200CA-E848-43CF-89ED-D2F5A0C7B07D}")
set(PLOVERA_PROGID "quennix.Connect")
set(PLOVERA_CLASS_DESCRIPTION "Plovera Connect")
set(PLOVERA_THREADING_MODEL "Apartment")
set(PLOVERA_ADDIN_FRIENDLY_NAME "Plovera")
set(PLOVERA_ADDIN_DESCRIPTION "Plovera")
set(PLOVERA_LOAD_BEHAVIOR 3)  # load at start-up
