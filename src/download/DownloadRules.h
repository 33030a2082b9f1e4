#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class KeyValueSettings;
class UserPort;

namespace download {

enum class ListSource { Wdt, Barsoi };

inline constexpr char kBarsoiText[] = "BLMEDI1.TXT";
inline constexpr char kBarsoiXml[] = "BARSOI.XML";

// The fixed account of the WDT server: the user name is the server's host name.
inline constexpr char kWdtPassword[] = "tWrHN27x";
// Default servers; the host names point nowhere until the practice has real addresses.
inline constexpr char kDefaultWdtServer[] = "ftp://ftp.wdt-liste.invalid/";

// Where the download keeps its own settings in the options file.
inline constexpr char kDownloadSection[] = "Download";

// The download folder of a source below the standard path: "WDT/" or "BARSOI/".
QString DownloadFolder(const QString& standardPath, ListSource source);
// Creates the folder level by level. An empty or relative standard path gives
// "Pfadangabe ungültig !", a level that cannot be made names itself; both through the
// port, and the result is false.
bool EnsureDownloadFolder(const QString& standardPath, ListSource source, UserPort& port);

// WDT server files: the article lists ("ART_" ... "txt") and the price lists ("PRS_").
bool IsWdtArticleFile(const QString& name);
bool IsWdtPriceFile(const QString& name);
// The list date of an "ART_" name (ART_yyyymmdd.txt) as dd.MM.yyyy, from characters
// 11-12, 9-10 and 5-8 of the name.
QString WdtListDate(const QString& articleName);
// The newest list date among the article names; empty when there is none.
QString NewestWdtListDate(const QStringList& names);
// The ten characters after "<daten>" in a BARSOI.XML answer; empty when it has none.
QString BarsoiXmlDate(const QByteArray& body);

// The date of the list last taken over from a source ("31.12.2000" when none was).
QString RememberedListDate(const KeyValueSettings& settings, ListSource source);
void RememberListDate(KeyValueSettings& settings, ListSource source, const QString& date);
// True when the list is not newer than the one taken over (an unreadable date counts as
// newer, so the practice is offered the take-over).
bool ListStillCurrent(const QString& remembered, const QString& listDate);
// The Barsoi file the last take-over used; BLMEDI1.TXT otherwise.
QString LastBarsoiFile(const KeyValueSettings& settings);
void RememberBarsoiFile(KeyValueSettings& settings, const QString& fileName);
// The WDT server as "ftp://host[:port]/folder/"; the options file may name another one.
QString WdtServer(const KeyValueSettings& settings);
// The user name of the WDT account: the host name of the server.
QString WdtUser(const QString& serverUrl);

// The request address for a Barsoi file from the address template: the template up to
// its first "=", the user name, from the first "&&" to the next "=" in lower case, the
// password, the rest in lower case, the file name, and "&product=bl_pr_evk" for the text
// form. Name and password are percent-encoded so that any character arrives as typed.
QString BarsoiRequestAddress(const QString& addressTemplate, const QString& user,
                             const QString& password, const QString& fileName);
// "https" for an address that begins with "http:" (an "s" after its fourth character).
QString SecureAddress(const QString& address);
// A template that would send name and password unencrypted.
bool IsPlainHttp(const QString& addressTemplate);
// Warns once per template that a stored plain http address sends the account openly.
void WarnAboutPlainHttpOnce(const QString& addressTemplate, KeyValueSettings& settings,
                            UserPort& port);

}  // namespace download
