// Word's add-in loading: at start-up every ProgID under
// Software\Microsoft\Office\Word\Addins (HKCU first, then HKLM; a per-user
// entry hides the machine one) with LoadBehavior 3 is created in process and
// connected through IDTExtensibility2; at exit each one is told to shut down,
// disconnected and released. While Word runs, the user may remove add-ins and
// add them back (the COM Add-ins dialog): a removed add-in is disconnected and
// released, an added one is a new object connected after start-up.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "guids.h"

namespace standin {

class Word;
class AddInInstanceObj;

class AddinHost {
 public:
  explicit AddinHost(Word& word) : word_(word) {}
  ~AddinHost();
  AddinHost(const AddinHost&) = delete;
  AddinHost& operator=(const AddinHost&) = delete;

  // Connects every add-in registered to load at start-up; returns how many connected.
  int load_all();
  void unload_all();
  // The user unticks every connected add-in: OnDisconnection(ext_dm_UserClosed)
  // and Release. Returns how many were removed.
  int remove_all();
  // The user ticks every registered add-in that is not connected: a new
  // object, OnConnection(ext_cm_AfterStartup), OnAddInsUpdate; no start-up
  // events. Returns how many connected.
  int add_all();
  size_t loaded() const { return addins_.size(); }

 private:
  struct Loaded {
    std::wstring prog_id;
    IDTExtensibility2* extension;
    AddInInstanceObj* instance;
  };
  bool connect(const std::wstring& prog_id, int connect_mode);
  bool is_loaded(const std::wstring& prog_id) const;
  // OnDisconnection with `remove_mode`, then Word's Release of the add-in.
  static void disconnect(Loaded& addin, int remove_mode);
  Word& word_;
  std::vector<Loaded> addins_;
};

// The ProgIDs to load, in load order.
std::vector<std::wstring> registered_addins();

}  // namespace standin
