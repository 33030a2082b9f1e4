#pragma once

#include <QString>

// The program's help: HTML pages in the folder "hilfe" beside the program, one page per
// workspace and a contents page.
namespace help {

// Topics, each the name of its page without ".html".
inline constexpr char kContents[] = "index";
inline constexpr char kMedications[] = "medikamente";
inline constexpr char kServices[] = "leistungen";
inline constexpr char kCustomers[] = "kunden";
inline constexpr char kRecordCard[] = "kartei";
inline constexpr char kDispensing[] = "abgabebelege";
inline constexpr char kBatch[] = "stapeldruck";
inline constexpr char kTexts[] = "textverarbeitung";
inline constexpr char kAppointments[] = "terminkalender";
inline constexpr char kOptions[] = "systemoptionen";
inline constexpr char kDownload[] = "download";

inline constexpr char kMissing[] = "HTML-Hilfedatei fehlt oder fehlerhaft !";

QString HelpFolder(const QString& programFolder);
// The contents page exists: the help menu item is enabled.
bool HelpAvailable(const QString& programFolder);
// The page of a topic, or the contents page when the topic has none; empty when neither
// can be read as an HTML page.
QString PageFor(const QString& programFolder, const QString& topic);

}  // namespace help
