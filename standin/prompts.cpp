#include "prompts.h"

#include <vector>

#include "log.h"

namespace standin {
namespace {

struct Button {
  int id;
  const wchar_t* text;
};

struct PromptState {
  int answer = 0;
};

LRESULT CALLBACK prompt_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_COMMAND:
      if (state && HIWORD(wp) == BN_CLICKED && LOWORD(wp) != kPromptTextId) state->answer = LOWORD(wp);
      return 0;
    case WM_CLOSE:
      if (state) state->answer = IDCANCEL;
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void register_prompt_class(const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = prompt_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

HWND create_prompt(HWND owner, const wchar_t* cls, const std::wstring& text,
                   const std::vector<Button>& buttons, PromptState* state) {
  register_prompt_class(cls);
  RECT o{0, 0, 640, 480};
  if (owner) GetWindowRect(owner, &o);
  const int w = 360, h = 130;
  const int x = (o.left + o.right - w) / 2, y = (o.top + o.bottom - h) / 2;
  HWND dlg = CreateWindowExW(WS_EX_DLGMODALFRAME, cls, L"Microsoft Word",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, x, y, w, h, owner,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 16, 14, 320, 36,
                               dlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPromptTextId)),
                               nullptr, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  int left = w - 16 - static_cast<int>(buttons.size()) * 86;
  for (const Button& b : buttons) {
    HWND bw = CreateWindowExW(0, L"BUTTON", b.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, left,
                              62, 78, 26, dlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)),
                              nullptr, nullptr);
    SendMessageW(bw, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    left += 86;
  }
  return dlg;
}

// Runs the dialog's own loop until a button answers it.
int run_modal(HWND owner, const wchar_t* cls, const std::wstring& text,
              const std::vector<Button>& buttons) {
  PromptState state;
  const bool owner_was_enabled = owner && IsWindowEnabled(owner);
  HWND dlg = create_prompt(owner, cls, text, buttons, &state);
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  log_line(std::wstring(L"dialog ") + cls + L" shown: " + text);
  MSG msg;
  while (state.answer == 0) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: leave WM_QUIT for the outer loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 1);
      state.answer = IDCANCEL;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner_was_enabled) EnableWindow(owner, TRUE);
  DestroyWindow(dlg);
  log_line(std::wstring(L"dialog ") + cls + L" answered " + std::to_wstring(state.answer));
  return state.answer;
}

}  // namespace

int ask_save_changes(HWND owner, const std::wstring& document_name) {
  return run_modal(owner, kSavePromptClass,
                   L"Do you want to save the changes to " + document_name + L"?",
                   {{IDYES, L"&Yes"}, {IDNO, L"&No"}, {IDCANCEL, L"Cancel"}});
}

int ask_save_as(HWND owner, const std::wstring& proposed_name) {
  return run_modal(owner, kSaveAsDialogClass, L"Save As\r\nFile name: " + proposed_name,
                   {{IDOK, L"&Save"}, {IDCANCEL, L"Cancel"}});
}

}  // namespace standin
