#pragma once

// The texts the user reads that more than one window says, kept in one place (UTF-8, as the
// command table takes them; a message box takes QString::fromUtf8 of one).
namespace rules::texts {

// Change with no dish to change: the main window's command and the editor.
inline constexpr char NoDishToChange[] = "Өзгертетін тағам табылмады.";
// OK before every required field is filled: the editor and the order dialog.
inline constexpr char FillEveryField[] = "Алдымен барлық өрістерді толтырыңыз.";
// The main window's two commands that open the editor (their names and hints), and the
// editor's title for each.
inline constexpr char AddDish[] = "Жаңадан қосу";
inline constexpr char ChangeDish[] = "Мәліметті өзгерту";

}  // namespace rules::texts
