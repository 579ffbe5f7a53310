#pragma once

// Positions of bowndrugs' columns in a "select *" row: every reader of a whole catalogue row
// addresses its fields by these numbers.
namespace BowndrugsColumns {
inline constexpr int Drug = 0;
inline constexpr int Price = 1;
inline constexpr int Disc = 2;
inline constexpr int LastDate = 3;
inline constexpr int Stock = 4;
inline constexpr int Demanded = 5;
inline constexpr int Spare1 = 6;
inline constexpr int Spare2 = 7;
inline constexpr int HighestDiscount = 8; // highistdiskout
} // namespace BowndrugsColumns
