#pragma once

// How a flag setting meets its check box on the preferences page. The
// program tests flags only for non-zero; a check box knows 0, 1 and 2
// (2: the indeterminate state, which a two-state box shows as checked).
namespace check_field {

// A stored value outside 0..2 is taken as 0 before it is shown.
constexpr int Normalise(int value) { return value >= 0 && value <= 2 ? value : 0; }

// Whether the box is shown checked for a normalised value.
constexpr bool IsChecked(int value) { return value != 0; }

// The value a box's state saves.
constexpr int ValueOf(bool checked) { return checked ? 1 : 0; }

}  // namespace check_field
