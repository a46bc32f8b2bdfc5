// The design-time contents of the tab-bar form: what every forms engine
// creates when the form loads. Positions and sizes in twips.
#pragma once

#include <cstdint>

namespace plovera::host::design {

inline constexpr float form_width = 8115.0f;   // client size at design time
inline constexpr float form_height = 360.0f;
inline constexpr const char16_t* form_font = u"Tahoma";
inline constexpr float form_font_points = 8.25f;

// caption(0): the caption template (hidden; every tab sets its own text).
inline constexpr const char16_t* caption_template_text = u"Caption";
inline constexpr const char16_t* caption_template_font = u"Tahoma";
inline constexpr float caption_template_font_points = 11.25f;
inline constexpr float caption_template_width = 675.0f, caption_template_height = 270.0f;

// face(0), close_button(0), icon(0): the face, close button and icon templates.
inline constexpr float face_template_width = 240.0f, face_template_height = 240.0f;
inline constexpr float close_template_width = 315.0f, close_template_height = 255.0f;  // stretch on
inline constexpr float icon_template_width = 495.0f, icon_template_height = 255.0f;

// left_arrow and right_arrow: the scroll arrows, stretch on, with their pictures.
inline constexpr float arrow_width = 285.0f, arrow_height = 285.0f;

// Timers, all disabled at design time.
inline constexpr std::uint32_t poll_interval_ms = 10;
inline constexpr std::uint32_t scroll_timer_ms = 100;

// Picture sizes in pixels (the seven list pictures, face_normal to bar_grey, and the arrows).
struct Size { int w, h; };
inline constexpr Size list_image_size[8] = {
    {0, 0}, {103, 24}, {123, 24}, {14, 14}, {14, 14}, {16, 16}, {2000, 96}, {2000, 96}};
inline constexpr Size arrow_size = {19, 19};
inline constexpr Size design_bar_size = {2000, 96};

}  // namespace plovera::host::design
