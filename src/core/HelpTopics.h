#pragma once

#include <QString>

namespace varnel::help {

// The help file in the program directory and the topic numbers the program
// opens it at (F1 by what has the focus, and the menus).
inline const QString FileName = QStringLiteral("kalvo2a.hlp");

inline constexpr int MainWindow = 8;          // the window and the register list
inline constexpr int HelpMenu = 9;            // "Pomoc"
inline constexpr int ApplicationsMenu = 10;   // "Wnioski"
inline constexpr int Archive = 12;            // "Otwórz archiwum"
inline constexpr int MonthClose = 13;         // "Przepisz do archiwum"
inline constexpr int OperationsMenu = 15;     // "Operacje"
inline constexpr int PrintTemplatesMenu = 16; // "Wzory wydruków"
inline constexpr int ApplicationForm = 18;    // the application form
inline constexpr int Recalculation = 20;      // "Przelicz dodatki"
inline constexpr int ListTemplates = 23;      // "Listy"
inline constexpr int ParametersMenu = 24;     // "Parametry"
inline constexpr int CalculationDisplay = 25; // "Obliczenia - wyświetlanie"
inline constexpr int Amounts = 26;            // "Kwoty"
inline constexpr int Dictionaries = 27;       // "Słowniki"
inline constexpr int PrinterSetup = 28;       // "Ustawienia drukarki"
inline constexpr int ExpiredRemoval = 29;     // "Usuń nieaktualne"
inline constexpr int DatabaseCopy = 30;       // the database backup ("KOPIA przed uruchomieniem.")
inline constexpr int PrintDecision = 117;     // "Drukuj decyzję"
inline constexpr int PrintList = 118;         // "Drukuj listę"

}  // namespace varnel::help
