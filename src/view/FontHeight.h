// The answer view's font size: a stored font height in logical units as the rich edit control's
// character height in twips, for any stored number.
#pragma once

// The largest character height the control takes: 1638 points.
constexpr int kMostTwips = 1638 * 20;
// A font with no height at all is shown at 10 points.
constexpr int kFallbackTwips = 200;

// `logicalHeight` in twips at `unitsPerPoint` logical units per point (its sign does not count: a
// negative height is a character height, a positive one a cell height, taken as the character
// height too). No height gives 10 points; a height beyond the control's largest gives its largest.
int FontHeightTwips(int logicalHeight, double unitsPerPoint);
