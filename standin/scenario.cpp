#include "scenario.h"

#include <cwchar>
#include <cwctype>

namespace standin {
namespace {

// Each form: literal keywords, `a|b` a choice, `N` a whole number, `S` any
// word, `S*` any number of words (last only); a form ending in `[frame N]`
// may be followed by "frame N", which names one of Word's frames. A step's
// kind is its leading keywords.
const std::vector<std::wstring> kForms = {
    L"start",
    L"start connect",
    L"addin remove",
    L"addin add",
    L"open S",
    L"open S unsaved|new|blank",
    L"window S",
    L"close S",
    L"rename S S",
    L"edit S",
    L"save S",
    L"macro caption S S",
    L"minimise frame N",
    L"restore frame N",
    L"other program",
    L"word front N",
    L"activate S",
    L"resize N N",
    L"resize frame N N N",
    L"move frame N N N",
    L"tile frames",
    L"ribbon collapse|expand [frame N]",
    L"sdi on|off",
    L"taskbar on|off",
    L"event DocumentOpen|NewDocument|WindowActivate|WindowSize|DocumentChange",
    L"wait N",
    L"deadline N",
    L"open documents N",
    L"measure S until tabs|selected|caption S",
    L"measure S idle N",
    L"measure S idle N budget S S",
    L"measure end",
    L"bare timer on|off",
    L"pointer N N",
    L"pointer frame N N N",
    L"pointer bar N N [frame N]",
    L"pointer element bar|face|close_button|icon|caption|left_arrow|right_arrow N [frame N]",
    L"pointer tab N face|close|icon|caption [frame N]",
    L"press left|right|middle",
    L"release left|right|middle",
    L"click left|right|middle",
    L"wheel N",
    L"wheel horizontal N",
    L"delete file S",
    L"clipboard hold|release",
    L"check clipboard S",
    L"check clipboard fullname S",
    L"check filemanager S",
    L"check filemanager fullname S",
    L"answer save yes|no|cancel",
    L"answer save yes|no|cancel S",
    L"answer saveas ok|cancel",
    L"answer saveas ok|cancel S",
    L"menu choose N",
    L"menu cancel",
    L"decoy word",
    L"fail clear",
    L"fail S",
    L"fail S N",
    L"check windows S*",
    L"check documents S*",
    L"check active S",
    L"check taskbar on|off",
    L"check bar S S*",
    L"check nobar S",
    L"check button S N S*",
    L"check sinks app|button N",
    L"check saved S",
    L"check saved S yes|no",
    L"check refs N",
    L"check docked [frame N]",
    L"check undocked [frame N]",
    L"check tabs S [frame N]",
    L"check arrows on|off [frame N]",
    L"check first-in-view N [frame N]",
    L"check hot N [frame N]",
    L"check hotclose N [frame N]",
    L"check marks S [frame N]",
    L"check caption-width N N [frame N]",
    L"check frames N",
    L"check frame N S",
    L"check front N",
    L"check shell S",
    L"check menu S*",
    L"destroy bar [frame N]",
    L"decoy open",
    L"decoy close",
    L"check dialog save|saveas",
    L"check dialog save|saveas S",
    L"check decoy",
    L"screenshot S [frame N]",
    L"screenshot S screen",
    L"signal S",
    L"await S",
    L"language N",
    L"mirror on|off",
    L"check layout rtl|ltr [frame N]",
    L"fullname S fail|long",
    L"check fullname N",
    L"contrast white-on-black|black-on-white|off",
    L"check contrast S",
    L"dpi N",
    L"check captions",
    L"check tooltip S",
    L"registry HKCU|HKLM S S dword|string S",
    L"registry HKCU|HKLM S S delete",
    L"check log absent",
    L"check log S N",
    L"lock log",
    L"check message S S*",
    L"office-theme N",
    L"office-theme none",
    L"office-theme text S",
    L"windows-mode dark|light|none",
    L"check background dark|light",
    L"quit",
};

bool is_number(const std::wstring& w) {
  size_t i = (!w.empty() && w[0] == L'-') ? 1 : 0;
  if (i >= w.size()) return false;
  for (; i < w.size(); ++i)
    if (!std::iswdigit(w[i])) return false;
  return true;
}

bool is_keyword(const std::wstring& element) {
  return element != L"N" && element != L"S" && element != L"S*" &&
         element.find(L'|') == std::wstring::npos;
}

bool matches_element(const std::wstring& element, const std::wstring& word) {
  if (element == L"S") return true;
  if (element == L"N") return is_number(word);
  const std::wstring choices = L"|" + element + L"|";
  return choices.find(L"|" + word + L"|") != std::wstring::npos;
}

// Whether `words` fit `form`; sets the number of leading keywords.
bool matches(const std::wstring& form, const std::vector<std::wstring>& words, size_t& keywords) {
  std::vector<std::wstring> elements;
  split_words(form, elements);
  keywords = 0;
  while (keywords < elements.size() && is_keyword(elements[keywords])) ++keywords;
  const bool open_ended = !elements.empty() && elements.back() == L"S*";
  const size_t fixed = elements.size() - (open_ended ? 1 : 0);
  if (words.size() < fixed || (!open_ended && words.size() != fixed)) return false;
  for (size_t i = 0; i < fixed; ++i)
    if (!matches_element(elements[i], words[i])) return false;
  return true;
}

// The same, for a form that may end in "[frame N]": a step that ends in
// "frame N" gives N and loses those two words. `words` is left as matched.
bool matches_with_frame(const std::wstring& form, std::vector<std::wstring>& words,
                        size_t& keywords, int& frame) {
  static const std::wstring kSuffix = L" [frame N]";
  frame = 0;
  const bool may_name_frame =
      form.size() > kSuffix.size() &&
      form.compare(form.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
  if (!may_name_frame) return matches(form, words, keywords);
  const std::wstring base = form.substr(0, form.size() - kSuffix.size());
  const size_t n = words.size();
  if (n >= 2 && words[n - 2] == L"frame" && is_number(words[n - 1])) {
    std::vector<std::wstring> rest(words.begin(), words.end() - 2);
    if (matches(base, rest, keywords)) {
      frame = static_cast<int>(std::wcstol(words[n - 1].c_str(), nullptr, 10));
      words = std::move(rest);
      return true;
    }
  }
  return matches(base, words, keywords);
}

std::wstring strip_comment(const std::wstring& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L'"') quoted = !quoted;
    if (line[i] == L'#' && !quoted && (i == 0 || std::iswspace(line[i - 1])))
      return line.substr(0, i);
  }
  return line;
}

std::wstring forms_of(const std::wstring& name) {
  std::wstring list;
  for (const std::wstring& f : kForms)
    if (f.compare(0, name.size(), name) == 0 && (f.size() == name.size() || f[name.size()] == L' '))
      list += L"\n    " + f;
  return list;
}

}  // namespace

const std::vector<std::wstring>& step_forms() { return kForms; }

bool split_words(const std::wstring& line, std::vector<std::wstring>& words) {
  // Quotes group blanks into a word and may start mid-word (caption="Save All").
  words.clear();
  std::wstring word;
  bool quoted = false, in_word = false;
  for (wchar_t c : line) {
    if (c == L'"') {
      quoted = !quoted;
      in_word = true;
    } else if (std::iswspace(c) && !quoted) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return !quoted;
}

Scenario parse_scenario(const std::wstring& text) {
  Scenario s;
  size_t start = 0;
  for (int number = 1; start <= text.size(); ++number) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    std::vector<std::wstring> words;
    const std::wstring where = L"line " + std::to_wstring(number) + L": ";
    if (!split_words(strip_comment(line), words)) {
      s.error = where + L"unterminated quote in '" + line + L"'";
      return s;
    }
    if (words.empty()) continue;
    bool found = false;
    for (const std::wstring& form : kForms) {
      Step step{number, L"", {}, line};
      size_t keywords = 0;
      if (!matches_with_frame(form, words, keywords, step.frame)) continue;
      for (size_t k = 0; k < words.size(); ++k) {
        if (k < keywords) step.kind += (k ? L" " : L"") + words[k];
        else step.args.push_back(words[k]);
      }
      s.steps.push_back(std::move(step));
      found = true;
      break;
    }
    if (found) continue;
    const std::wstring known = forms_of(words[0]);
    s.error = known.empty() ? where + L"unknown step '" + words[0] + L"'"
                            : where + L"malformed step '" + line + L"'; expected one of:" + known;
    return s;
  }
  return s;
}

}  // namespace standin
