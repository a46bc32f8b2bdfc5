#include "ui_bridge.h"

#include <memory>

namespace standin {
namespace {

constexpr UINT kRunRequest = WM_APP + 1;
constexpr wchar_t kBridgeClass[] = L"StandinScenarioBridge";

struct Request {
  std::function<void()> work;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Request() { CloseHandle(done); }
};

}  // namespace

UiBridge::UiBridge() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &UiBridge::proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kBridgeClass;
  RegisterClassExW(&wc);
  window_ = CreateWindowExW(0, kBridgeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

UiBridge::~UiBridge() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK UiBridge::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kRunRequest) return DefWindowProcW(hwnd, msg, wp, lp);
  // The request is shared with the waiting thread, which may have given up.
  std::unique_ptr<std::shared_ptr<Request>> held(reinterpret_cast<std::shared_ptr<Request>*>(lp));
  std::shared_ptr<Request> request = *held;
  try {
    request->work();
  } catch (...) {
    // Work items report their own failures; nothing may unwind into Windows.
  }
  SetEvent(request->done);
  return 0;
}

bool UiBridge::call(std::function<void()> work, DWORD timeout_ms) {
  auto request = std::make_shared<Request>();
  request->work = std::move(work);
  HANDLE done = request->done;
  auto* shared = new std::shared_ptr<Request>(request);
  if (!PostMessageW(window_, kRunRequest, 0, reinterpret_cast<LPARAM>(shared))) {
    delete shared;
    return false;
  }
  return WaitForSingleObject(done, timeout_ms) == WAIT_OBJECT_0;
}

void UiBridge::post(std::function<void()> work) {
  auto request = std::make_shared<Request>();
  request->work = std::move(work);
  auto* shared = new std::shared_ptr<Request>(request);
  if (!PostMessageW(window_, kRunRequest, 0, reinterpret_cast<LPARAM>(shared))) delete shared;
}

}  // namespace standin
