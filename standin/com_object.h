// The base of every object the stand-in Word hands out through COM.
//
// Reference accounting: an object's COM count holds only the references that
// others (the add-in) took. The stand-in's own hold on an object is not a COM
// reference but a flag (`own`/`disown`), so that at shutdown the sum of the
// COM counts of all live objects is exactly what the add-in failed to release.
// An object dies when it is neither owned nor referenced.
//
// Everything here runs on the stand-in's user-interface thread (one STA);
// nothing is locked.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace standin {

class Counted {
 public:
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

  ULONG add_ref() noexcept;
  ULONG release() noexcept;

  // The stand-in keeps the object alive (without a COM reference).
  void own() noexcept { owned_ = true; }
  // The stand-in lets go; the object dies with the last COM reference.
  void disown() noexcept;

  LONG refs() const noexcept { return refs_; }
  // What the object is, for reports: "Window Doc1", "CommandBar tabPopup".
  virtual std::wstring describe() const = 0;

 protected:
  Counted();
  virtual ~Counted();

 private:
  void die_if_unused() noexcept;
  LONG refs_ = 0;
  bool owned_ = false;
};

// The references others still hold on live objects, and a line per holder.
struct RefReport {
  long total = 0;
  long over_released = 0;  // Release calls on objects that had no reference left
  std::vector<std::wstring> holders;
};
RefReport outstanding_references();

// An error raised by a member: becomes the Invoke result.
struct ComError {
  HRESULT hr;
  const wchar_t* what;
};
[[noreturn]] void fail(HRESULT hr, const wchar_t* what);

// Word's runtime error for a command the user cancelled (4198, "Command failed").
inline constexpr HRESULT kCommandFailed = static_cast<HRESULT>(0x800A1066);

}  // namespace standin
