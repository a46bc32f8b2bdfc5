// The popup menu of the bar: an Office popup command bar "tabPopup", rebuilt
// at every start-up and shown at the pointer on a right press.
#include "addin/addin.h"
#include "commands/buttonevent.h"

namespace plovera {
namespace {

constexpr const char16_t* kBarName = u"tabPopup";
constexpr std::int32_t kPositionPopup = 5;
constexpr std::int32_t kControlButton = 1;
constexpr std::int32_t kCustomId = 1;
constexpr std::int32_t kStyleIconAndCaption = 3;
constexpr const char16_t* kTag = u"marrowick";

struct MenuEntry {
  std::int32_t face_id;
  const char16_t* caption;
  const char16_t* parameter;
};

void describe(host::CommandBarButton& button, const MenuEntry& entry) {
  button.FaceId(entry.face_id);
  button.Caption(entry.caption);
  button.TooltipText(entry.caption);
  button.Style(kStyleIconAndCaption);
  button.Tag(kTag);
  button.Parameter(entry.parameter);
}

}  // namespace

// The web-site button is added first and "Save All" inserted before it, so
// the menu lists "Save All" on top. Buttons are temporary: a bar left from an
// earlier Word run has none, and is deleted and rebuilt here.
void Addin::buildmenu() {
  btnevents = std::make_unique<buttonevent>(*this);
  ignore_errors([&] { app().CommandBars()->Item(kBarName)->Delete(); });
  host::Ref<host::CommandBar> bar = app().CommandBars()->Add(kBarName, kPositionPopup);

  host::Ref<host::CommandBarButton> web =
      bar->Controls()->Add(kControlButton, kCustomId, std::nullopt, true);
  describe(*web, {1016, u"Visit our web site", u"website"});
  btnevents->myButton(web);

  host::Ref<host::CommandBarButton> save =
      bar->Controls()->Add(kControlButton, kCustomId, 1, true);
  describe(*save, {455, u"Save All", u"SaveAll"});
}

// ShowPopup returns when the menu closes; a chosen command arrives through
// the button receiver meanwhile. A bar removed by the user shows nothing.
void Addin::showmenu() {
  ws().bring_to_foreground(wordhwnd);
  ignore_errors([&] { app().CommandBars()->Item(kBarName)->ShowPopup(); });
}

}  // namespace plovera
