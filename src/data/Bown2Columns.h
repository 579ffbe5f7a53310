#pragma once

// Positions of bown2's columns in a "select *" row: every reader of a whole order row addresses its
// fields by these numbers.
namespace Bown2Columns {
inline constexpr int Drug = 0;
inline constexpr int OrderId = 1;
inline constexpr int Date = 2;
inline constexpr int Timee = 3;
inline constexpr int Tel = 4;
inline constexpr int Markaz = 5;
inline constexpr int Mohafaza = 6;
inline constexpr int Submitted = 7;
} // namespace Bown2Columns
