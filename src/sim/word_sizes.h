// The sizes of Word's windows as the stand-in Word draws them and the
// simulated Word models them, in one place, so that the native tests and
// the end-to-end scenarios lay Word out alike. Pixels.
#pragma once

namespace plovera::sim::word_sizes {

// A frame's children: the top command-bar dock across the top, the right
// dock down the right side, the document area in what is left.
inline constexpr int dock_top_height = 60;
inline constexpr int dock_right_width = 24;
// Word 2013 and later open each new frame this far right of and below the
// active one.
inline constexpr int cascade_step = 32;

}  // namespace plovera::sim::word_sizes
