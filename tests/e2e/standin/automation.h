// The add-in's side of the stand-in, for tests: calls by member name through
// IDispatch as an automation client makes them, an event receiver that
// records what it is sent, and a fresh Word per test.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

#include "word.h"

namespace standin_test {

VARIANT v_long(long v);
VARIANT v_text(const wchar_t* v);
VARIANT v_bool(bool v);
VARIANT v_missing();  // an omitted optional argument

// Member `name` called with `args` in declared order; the result in `out`
// (which the caller clears), or nothing when `out` is null.
HRESULT invoke(IDispatch* d, const wchar_t* name, WORD flags, std::vector<VARIANT> args = {},
               VARIANT* out = nullptr);
HRESULT put(IDispatch* d, const wchar_t* name, VARIANT value);
// An object property or method result, with a reference for the caller; null on failure.
IDispatch* get_object(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args = {});
std::wstring get_text(IDispatch* d, const wchar_t* name);
long get_long(IDispatch* d, const wchar_t* name);

// Records every Invoke: the DISPID, the variant types and the first two
// objects of the (reversed) arguments.
class RecordingSink : public IDispatch {
 public:
  struct Call {
    DISPID id;
    std::vector<VARTYPE> types;
    IUnknown* last = nullptr;    // rgvarg[cArgs-1] when it is an object: the first argument
    IUnknown* second = nullptr;  // rgvarg[cArgs-2]
  };
  std::vector<Call> calls;
  LONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*,
                                   EXCEPINFO*, UINT*) override;
  std::vector<DISPID> ids() const;
};

// Advises `sink` on the connection point `iid` of `source`; the cookie, 0 on failure.
DWORD advise(IUnknown* source, const IID& iid, IUnknown* sink, HRESULT* hr = nullptr);
HRESULT unadvise(IUnknown* source, const IID& iid, DWORD cookie);

// A fresh stand-in Word (its windows on the display), closed at the end of the test.
struct WordFixture {
  explicit WordFixture(const wchar_t* version = L"12.0", const std::wstring& bar_file = L"",
                       std::optional<bool> sdi = std::nullopt);
  ~WordFixture();
  standin::Word* word;
  IDispatch* app() const { return static_cast<IDispatch*>(word); }
};

// The references the test still holds on the stand-in's objects.
long references_held();

}  // namespace standin_test
