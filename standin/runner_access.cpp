// Scenario steps for what the bar does for everyone: meeting a client
// program that runs beside the scenario (signal/await), Word's interface
// language, what Document.FullName answers and how often it was read, high
// contrast and the contrast of the captions as drawn, Office's theme and
// Windows' app mode as Word 2013 and later read them, the monitor's
// resolution and the captions' sizes at it, the tooltip shown.
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <map>
#include <vector>

#include "bar_query.h"
#include "log.h"
#include "runner.h"
#include "system_model.h"

namespace standin {
namespace {

long number(const std::wstring& word) { return std::wcstol(word.c_str(), nullptr, 10); }

// WCAG 2 relative luminance of a colour and the contrast ratio of two.
double luminance(COLORREF c) {
  auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}
double contrast(COLORREF a, COLORREF b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::wstring colour_text(COLORREF c) {
  wchar_t text[8];
  swprintf(text, 8, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

// The pixels of a rectangle of a window's client area as the window drew
// them, row by row. (Read from the window's own device context: what Wine
// has shown on the X display may lag behind.)
std::vector<COLORREF> window_pixels(HWND window, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<COLORREF> out;
  if (w <= 0 || h <= 0) return out;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const DWORD*>(bits);
  for (int i = 0; i < w * h && px; ++i) out.push_back(RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return out;
}

// The caption's text colour against what is behind it. Pixels are grouped
// in bands of like colour (16 levels a channel), so that a face drawn as a
// gentle gradient counts as one background rather than as many shades each
// rarer than the text. The background is the commonest band; the text is,
// of the bands that cover at least a tenth of the rest (leaving out the
// blends of smoothed edges), the one that stands out most, at its commonest
// colour. What is behind the text is every band but the text's that covers
// a tenth of the label, and the ratio is taken against the colour in them
// closest to the text's: the worst spot of a gradient counts.
struct Measured {
  COLORREF text = 0, back = 0;
  double ratio = 0;
};
Measured measure_caption(const std::vector<COLORREF>& pixels) {
  struct Band {
    int count = 0;
    std::map<COLORREF, int> colours;
  };
  std::map<COLORREF, Band> bands;
  for (COLORREF c : pixels) {
    Band& b = bands[c & 0xF0F0F0];
    ++b.count;
    ++b.colours[c];
  }
  auto commonest = [](const Band& b) {
    COLORREF best = 0;
    int most = 0;
    for (const auto& [c, n] : b.colours)
      if (n > most) most = n, best = c;
    return best;
  };
  Measured m;
  const Band* back = nullptr;
  for (const auto& [key, b] : bands)
    if (!back || b.count > back->count) back = &b;
  if (!back) return m;
  const COLORREF back_colour = commonest(*back);
  const int rest = static_cast<int>(pixels.size()) - back->count;
  const Band* text = nullptr;
  double farthest = 0;
  for (const auto& [key, b] : bands) {
    if (&b == back || b.count * 10 < rest) continue;
    const double r = contrast(commonest(b), back_colour);
    if (r > farthest) farthest = r, text = &b;
  }
  if (!text) {
    m.back = back_colour;
    return m;
  }
  m.text = commonest(*text);
  m.ratio = 1e9;
  for (const auto& [key, b] : bands) {
    if (&b == text || b.count * 10 < static_cast<int>(pixels.size())) continue;
    for (const auto& [c, n] : b.colours) {
      const double r = contrast(c, m.text);
      if (r < m.ratio) m.ratio = r, m.back = c;
    }
  }
  return m;
}

// Where Word 2007 and later keep Office's theme, per version.
std::wstring office_common_key(Word& word) {
  return L"Software\\Microsoft\\Office\\" + word.version() + L"\\Common";
}

// Tahoma 11.25 pt (the captions' font) measured here at `dpi`.
SIZE expected_caption(const std::wstring& text, int dpi) {
  HFONT font = CreateFontW(-static_cast<int>(std::floor(11.25 * dpi / 72.0 + 0.5)), 0, 0, 0, FW_NORMAL, 0,
                           0, 0, DEFAULT_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return {text.empty() ? 0 : size.cx, tm.tmHeight};
}

BOOL CALLBACK find_tooltip(HWND w, LPARAM found) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (lstrcmpiW(cls, L"tooltips_class32") != 0 || !IsWindowVisible(w)) return TRUE;
  const int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), length + 1)));
  *reinterpret_cast<std::wstring*>(found) = text.empty() ? L" " : text;
  return FALSE;
}

// The text of the tooltip this (Word's) thread shows; empty when none.
std::wstring tooltip_shown() {
  std::wstring shown;
  EnumThreadWindows(GetCurrentThreadId(), find_tooltip, reinterpret_cast<LPARAM>(&shown));
  return shown;
}

// Writes (or, without `data`, deletes) a value under HKEY_CURRENT_USER, as
// Word's options dialog and Windows' settings do.
std::wstring set_user_value(const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
                            DWORD size) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr))
    return L"cannot open " + key;
  const LONG rc = data ? RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), size)
                       : RegDeleteValueW(k, name);
  RegCloseKey(k);
  return rc == ERROR_SUCCESS || (!data && rc == ERROR_FILE_NOT_FOUND) ? L"" : L"cannot write " + std::wstring(name);
}

constexpr const wchar_t* kPersonalize = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

}  // namespace

void Runner::add_access_steps() {
  // A file in the output folder, made here or awaited from the program
  // running beside the scenario.
  handlers_[L"signal"] = [this](const Step& s) -> Outcome {
    HANDLE f = CreateFileW((out_dir_ + L"\\" + s.args[0]).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return L"cannot make " + s.args[0];
    CloseHandle(f);
    return L"";
  };
  handlers_[L"await"] = [this](const Step& s) {
    const std::wstring path = out_dir_ + L"\\" + s.args[0];
    return poll_here([&]() -> Outcome {
      if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return L"";
      return L"no " + s.args[0] + L" from the program beside";
    });
  };
  handlers_[L"language"] = [this](const Step& s) {
    return with_word([&](Word& word) {
      word.set_ui_language(number(s.args[0]));
      return Outcome();
    });
  };
  // Document.FullName of a document fails from now on, or answers a text of
  // 32,767 characters.
  handlers_[L"fullname"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      DocumentObj* d = word.find_document(s.args[0]);
      if (!d) return L"no document \"" + s.args[0] + L"\"";
      if (s.args[1] == L"fail") d->full_name_failure = E_FAIL;
      else d->full_name_override = L"C:\\" + std::wstring(32764, L'x');
      return L"";
    });
  };
  handlers_[L"contrast"] = [this](const Step& s) {
    return with_word([&](Word& word) {
      using system_model::Contrast;
      system_model::set_contrast(s.args[0] == L"white-on-black"   ? Contrast::white_on_black
                                 : s.args[0] == L"black-on-white" ? Contrast::black_on_white
                                                                  : Contrast::off);
      // Windows repaints every window for a new scheme.
      RedrawWindow(word.frame().main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return Outcome();
    });
  };
  // Every visible caption stands out from what is behind it by at least
  // the ratio given; the figures go to the log and the output.
  handlers_[L"check contrast"] = [this](const Step& s) {
    const double wanted = std::wcstod(s.args[0].c_str(), nullptr);
    std::wstring figures;
    const Outcome problem = poll([&]() -> Outcome {
      if (!session_.running()) return L"Word has quit";
      HWND bar = find_bar(session_.word().frame().main());
      if (!bar) return L"there is no tab bar window";
      RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      figures.clear();
      std::wstring low;
      // In high contrast what is behind a caption is the button face or, on
      // the selected tab, the highlight: the scheme's own colours.
      const bool scheme = system_model::high_contrast();
      const COLORREF face = GetSysColor(COLOR_BTNFACE), highlight = GetSysColor(COLOR_HIGHLIGHT);
      for (const TabInfo& t : visible_tabs(bar)) {
        const Measured m = measure_caption(window_pixels(bar, t.caption.rect));
        if (scheme && m.back != face && m.back != highlight)
          return L"the caption " + t.caption.caption + L" lies on " + colour_text(m.back) +
                 L", not on the scheme's colours";
        wchar_t ratio[16];
        swprintf(ratio, 16, L"%.2f:1", m.ratio);
        figures += L"contrast " + t.caption.caption + L": " + ratio + L" (" + colour_text(m.text) + L" on " +
                   colour_text(m.back) + L")\n";
        if (m.ratio < wanted) low += L" " + t.caption.caption + L" " + ratio;
      }
      if (figures.empty()) return L"no caption is visible";
      return low.empty() ? L"" : L"too little contrast:" + low;
    });
    log_line(figures);
    std::fputws(figures.c_str(), stdout);
    std::fflush(stdout);
    return problem;
  };
  // Office's theme as Word 2013 and later store it when the user picks one
  // in Word's options: a number, no value, or (a damaged registry) text.
  handlers_[L"office-theme"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      const DWORD n = static_cast<DWORD>(number(s.args[0]));
      return set_user_value(office_common_key(word), L"UI Theme", REG_DWORD, &n, sizeof n);
    });
  };
  handlers_[L"office-theme none"] = [this](const Step&) {
    return with_word([&](Word& word) -> Outcome {
      return set_user_value(office_common_key(word), L"UI Theme", REG_DWORD, nullptr, 0);
    });
  };
  // A damaged value: "UI Theme" written as a string.
  handlers_[L"office-theme text"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      return set_user_value(office_common_key(word), L"UI Theme", REG_SZ, s.args[0].c_str(),
                            static_cast<DWORD>((s.args[0].size() + 1) * sizeof(wchar_t)));
    });
  };
  // Windows' app mode, as its settings switch it: the value, then the
  // broadcast to every top-level window.
  handlers_[L"windows-mode"] = [this](const Step& s) -> Outcome {
    const DWORD light = s.args[0] == L"dark" ? 0 : 1;
    const Outcome problem = set_user_value(kPersonalize, L"AppsUseLightTheme", REG_DWORD,
                                           s.args[0] == L"none" ? nullptr : &light, sizeof light);
    if (!problem.empty()) return problem;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 1000, &ignored);
    return L"";
  };
  // The bar's own background, right of its last tab, as drawn: dark (a
  // relative luminance below 0.1) or light (above 0.5).
  handlers_[L"check background"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      HWND bar = find_bar(word.frame().main());
      if (!bar) return L"there is no tab bar window";
      RECT client{};
      GetClientRect(bar, &client);
      const RECT spot{client.right - 8, client.bottom / 2, client.right - 4, client.bottom / 2 + 1};
      const std::vector<COLORREF> px = window_pixels(bar, spot);
      if (px.empty()) return L"the bar has no pixels";
      const double l = luminance(px[0]);
      const bool dark = s.args[0] == L"dark";
      if (dark ? l < 0.1 : l > 0.5) return L"";
      return L"the bar's background is " + colour_text(px[0]);
    });
  };
  // Word's window moves to a monitor of this resolution: Windows sends it
  // WM_DPICHANGED with the place it suggests (here: where it is).
  handlers_[L"dpi"] = [this](const Step& s) {
    return with_word([&](Word& word) {
      const int dpi = static_cast<int>(number(s.args[0]));
      system_model::set_monitor_dpi(dpi);
      RECT r{};
      GetWindowRect(word.frame().main(), &r);
      SendMessageW(word.frame().main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
      return Outcome();
    });
  };
  // Each visible caption is as large as its text in Tahoma 11.25 pt at
  // Word's resolution.
  handlers_[L"check captions"] = [this](const Step&) {
    return poll_word([&](Word& word) -> Outcome {
      HWND bar = find_bar(word.frame().main());
      if (!bar) return L"there is no tab bar window";
      std::wstring p;
      for (const TabInfo& t : visible_tabs(bar)) {
        const SIZE want = expected_caption(t.caption.caption, word.dpi());
        const RECT& r = t.caption.rect;
        if (r.right - r.left != want.cx || r.bottom - r.top != want.cy)
          p += L" " + t.caption.caption + L" is " + std::to_wstring(r.right - r.left) + L"x" +
               std::to_wstring(r.bottom - r.top) + L" px, expected " + std::to_wstring(want.cx) + L"x" +
               std::to_wstring(want.cy) + L";";
      }
      return p;
    });
  };
  // The tooltip the bar shows now ("none": none shows).
  handlers_[L"check tooltip"] = [this](const Step& s) {
    return poll([&]() -> Outcome {
      const std::wstring shown = tooltip_shown();
      const std::wstring want = s.args[0] == L"none" ? L"" : s.args[0];
      if (shown == want) return L"";
      return shown.empty() ? L"no tooltip shows" : L"the tooltip reads \"" + shown + L"\"";
    });
  };
  handlers_[L"check fullname"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      if (word.full_name_reads() == number(s.args[0])) return L"";
      return L"Document.FullName was read " + std::to_wstring(word.full_name_reads()) + L" times";
    });
  };
}

}  // namespace standin
