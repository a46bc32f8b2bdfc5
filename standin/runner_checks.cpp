// Scenario checks on Word's own state: windows, documents, options, command
// bars, event receivers, references and the shell. Each is polled until it
// holds or the deadline passes.
#include <cstdio>
#include <cwchar>

#include "commandbars.h"
#include "runner.h"
#include "shell_log.h"

namespace standin {
namespace {

int number(const std::wstring& word) { return static_cast<int>(std::wcstol(word.c_str(), nullptr, 10)); }

std::wstring quoted_list(const std::vector<std::wstring>& words) {
  std::wstring s;
  for (const std::wstring& w : words) s += L" \"" + w + L"\"";
  return s.empty() ? L" (none)" : s;
}

std::wstring button_value(const ButtonValues& v, const std::wstring& key) {
  if (key == L"caption") return v.caption;
  if (key == L"tooltip") return v.tooltip;
  if (key == L"tag") return v.tag;
  if (key == L"parameter") return v.parameter;
  if (key == L"faceid") return std::to_wstring(v.face_id);
  if (key == L"style") return std::to_wstring(v.style);
  if (key == L"type") return std::to_wstring(v.type);
  if (key == L"id") return std::to_wstring(v.id);
  if (key == L"temporary") return v.temporary ? L"yes" : L"no";
  return L"<unknown key " + key + L">";
}

// `key=value` pairs against one button; empty when all match.
std::wstring compare_button(const ButtonValues& v, const std::vector<std::wstring>& pairs) {
  std::wstring problems;
  for (const std::wstring& pair : pairs) {
    const size_t eq = pair.find(L'=');
    const std::wstring key = pair.substr(0, eq);
    const std::wstring want = eq == std::wstring::npos ? L"" : pair.substr(eq + 1);
    const std::wstring got = button_value(v, key);
    if (got != want) problems += L" " + key + L"=\"" + got + L"\"";
  }
  return problems.empty() ? L"" : L"the button has" + problems;
}

}  // namespace

Runner::Outcome Runner::poll_word(const std::function<Outcome(Word&)>& probe) {
  return poll([&]() -> Outcome {
    if (!session_.running()) return L"Word has quit";
    return probe(session_.word());
  });
}

void Runner::add_word_checks() {
  handlers_[L"check windows"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      std::vector<std::wstring> captions;
      for (WindowObj* w : word.windows()) captions.push_back(w->caption());
      return captions == s.args ? L"" : L"Word's windows are" + quoted_list(captions);
    });
  };
  handlers_[L"check documents"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      std::vector<std::wstring> names;
      for (DocumentObj* d : word.documents()) names.push_back(d->name);
      return names == s.args ? L"" : L"Word's documents are" + quoted_list(names);
    });
  };
  handlers_[L"check active"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      const std::wstring active = word.active_window() ? word.active_window()->caption() : L"none";
      return active == s.args[0] ? L"" : L"the active window is \"" + active + L"\"";
    });
  };
  handlers_[L"check taskbar"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      const bool want = s.args[0] == L"on";
      if (word.show_windows_in_taskbar() == want) return L"";
      return std::wstring(L"ShowWindowsInTaskbar is ") + (want ? L"False" : L"True");
    });
  };
  handlers_[L"check saved"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      DocumentObj* d = word.find_document(s.args[0]);
      if (!d) return L"no document \"" + s.args[0] + L"\"";
      const bool want = s.args.size() < 2 || s.args[1] == L"yes";
      if (d->saved == want) return L"";
      return d->saved ? L"the document is saved" : L"the document has unsaved changes";
    });
  };
}

void Runner::add_addin_checks() {
  handlers_[L"check bar"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      CommandBarObj* bar = word.command_bars().find(s.args[0]);
      if (!bar) return L"no command bar \"" + s.args[0] + L"\"";
      std::vector<std::wstring> captions;
      for (CommandBarButtonObj* b : bar->controls) captions.push_back(b->values.caption);
      const std::vector<std::wstring> want(s.args.begin() + 1, s.args.end());
      return captions == want ? L"" : L"the bar's buttons are" + quoted_list(captions);
    });
  };
  handlers_[L"check nobar"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      return word.command_bars().find(s.args[0]) ? L"the command bar exists" : L"";
    });
  };
  handlers_[L"check button"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      CommandBarObj* bar = word.command_bars().find(s.args[0]);
      const int n = number(s.args[1]);
      if (!bar || n < 1 || n > static_cast<int>(bar->controls.size()))
        return L"no button " + s.args[1] + L" on \"" + s.args[0] + L"\"";
      const std::vector<std::wstring> pairs(s.args.begin() + 2, s.args.end());
      return compare_button(bar->controls[static_cast<size_t>(n - 1)]->values, pairs);
    });
  };
  handlers_[L"check sinks"] = [this](const Step& s) {
    return poll([&]() -> Outcome {
      const bool app = s.args[0] == L"app";
      long count = 0;
      if (session_.quit_report().done) {
        const QuitReport& r = session_.quit_report();
        count = static_cast<long>(app ? r.application_sinks : r.button_sinks);
      } else if (session_.running()) {
        Word& word = session_.word();
        count = static_cast<long>(app ? word.application_sinks() : word.command_bars().button_sinks());
      }
      if (count == number(s.args[1])) return L"";
      return std::to_wstring(count) + L" receivers are advised";
    });
  };
  // After quit: what the add-ins held when Word quit — or, when Word quit
  // inside a call of an add-in (that call still held what it was using),
  // what they hold now, polled, as the call returns later. While Word runs
  // with no add-in connected (after `addin remove`): what they hold now,
  // polled, as releasing may follow the disconnection.
  handlers_[L"check refs"] = [this](const Step& s) {
    auto compare = [&s](const RefReport& refs) -> Outcome {
      std::wstring problem;
      if (refs.total != number(s.args[0]))
        problem = L"the add-ins still hold " + std::to_wstring(refs.total) + L" references:";
      for (const std::wstring& h : refs.holders) problem += problem.empty() ? L"" : L" [" + h + L"]";
      if (refs.over_released)
        problem += L" and released " + std::to_wstring(refs.over_released) + L" times more than they took";
      return problem;
    };
    return poll([&]() -> Outcome {
      if (session_.quit_report().done) {
        const QuitReport& r = session_.quit_report();
        const Outcome at_quit = compare(r.refs);
        return at_quit.empty() || !r.inside_addin_call ? at_quit : compare(outstanding_references());
      }
      if (session_.running() && !session_.addins_connected()) return compare(outstanding_references());
      return L"references are counted when no add-in is connected: put 'quit' or 'addin remove' first";
    });
  };
  handlers_[L"check shell"] = [this](const Step& s) {
    return poll_here([&]() -> Outcome {
      const auto urls = read_shell_log();
      for (const std::wstring& u : urls)
        if (u == s.args[0]) return L"";
      return L"the shell opened" + quoted_list(urls);
    });
  };
}

}  // namespace standin
