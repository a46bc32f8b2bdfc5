// Pictures drawn for a monitor's resolution, and the store that keeps them.
#include "checks.h"
#include "win32/images.h"

namespace forms_test {

using plovera::host::Picture;
using plovera::win32::draw_picture;

void check_pictures_per_resolution(Checks& t) {
  auto size = [](Picture p, int dpi) {
    const auto image = draw_picture(p, dpi);
    return std::to_string(image.width) + "x" + std::to_string(image.height);
  };
  t.expect(size(Picture::close_normal, 96) == "14x14" && size(Picture::document_icon, 96) == "16x16" &&
               size(Picture::scroll_left, 96) == "19x19",
           "at 96 dpi pictures have their design sizes");
  t.expect(size(Picture::close_normal, 144) == "21x21" && size(Picture::document_icon, 144) == "24x24" &&
               size(Picture::scroll_left, 144) == "29x29" && size(Picture::face_normal, 144) == "155x36",
           "at 144 dpi they are drawn half as large again, rounded to whole pixels",
           size(Picture::close_normal, 144) + " " + size(Picture::scroll_left, 144) + " " +
               size(Picture::face_normal, 144));
  t.expect(size(Picture::close_unsaved, 96) == size(Picture::close_normal, 96) &&
               size(Picture::close_unsaved, 144) == size(Picture::close_normal, 144),
           "the dot of unsaved changes has the close button's size at every resolution");
  t.expect(size(Picture::close_hot, 120) == "18x18", "at 120 dpi a quarter larger (14 -> 17.5 -> 18)",
           size(Picture::close_hot, 120));

  plovera::win32::ImageStore store;
  const auto* at96 = store.get(Picture::close_normal, 96);
  const auto* at144 = store.get(Picture::close_normal, 144);
  for (int dpi : {120, 168, 192, 240}) store.get(Picture::close_normal, dpi);
  t.expect(at96 && at144 && at96 != at144 && store.get(Picture::close_normal, 96) == at96 &&
               at96->width == 14 && at144->width == 21,
           "the store keeps one picture per resolution, each where it was handed out");
}

}  // namespace forms_test
