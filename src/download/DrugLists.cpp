#include "download/DrugLists.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "platform/Files.h"

namespace download {

namespace {

constexpr int kMaxName = 70;
constexpr int kMaxWaitingTime = 10;

QString Failure(const QString& file, int line, const QString& reason)
{
    return QStringLiteral("Die Liste kann nicht übernommen werden.\r") + file +
           QStringLiteral(", Zeile ") + QString::number(line) + QStringLiteral(": ") + reason +
           QStringLiteral("\rDie Medikamententabelle bleibt unverändert.");
}

ListReadResult Failed(const QString& file, int line, const QString& reason)
{
    ListReadResult r;
    r.error = Failure(file, line, reason);
    return r;
}

// UTF-8 when the bytes are valid UTF-8 (a code page 1252 text with umlauts never is),
// else code page 1252.
QStringList TextLines(const QByteArray& bytes)
{
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (utf8.hasError())
        return cp1252::SplitLines(bytes);
    static const QRegularExpression ends(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(ends);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList Fields(const QString& line)
{
    QStringList fields = line.split(QLatin1Char(';'));
    for (QString& f : fields)
        f = f.trimmed();
    return fields;
}

bool HeaderMatches(const QString& line, const char* header)
{
    return Fields(line)
               .join(QLatin1Char(';'))
               .compare(QLatin1String(header), Qt::CaseInsensitive) == 0;
}

bool ParseAmount(const QString& text, long double* value)
{
    static const QRegularExpression amount(QStringLiteral("^\\d{1,6}(,\\d{1,4})?$"));
    return amount.match(text).hasMatch() && TryStrToFloat(text, value);
}

bool HasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// The checks every article passes, whatever its file. Empty when it is sound.
QString ArticleFault(const ListArticle& a, const QString& purchase, const QString& sale)
{
    for (const QString* text : {&a.manufacturer, &a.name, &a.waitingTime, &a.vatCode}) {
        if (HasControlCharacter(*text))
            return QStringLiteral("unzulässiges Steuerzeichen im Text");
    }
    if (a.name.isEmpty())
        return QStringLiteral("Artikelname fehlt");
    if (a.name.size() > kMaxName)
        return QStringLiteral("Artikelname länger als %1 Zeichen").arg(kMaxName);
    if (a.manufacturer.isEmpty())
        return QStringLiteral("Hersteller fehlt");
    long double value = 0;
    if (!ParseAmount(purchase, &value))
        return QStringLiteral("Einkaufspreis \"") + purchase +
               QStringLiteral("\" ist kein gültiger Betrag");
    if (!sale.isEmpty() && !ParseAmount(sale, &value))
        return QStringLiteral("Verkaufspreis \"") + sale +
               QStringLiteral("\" ist kein gültiger Betrag");
    if (a.vatCode != QLatin1String("1") && a.vatCode != QLatin1String("2") &&
        a.vatCode != QLatin1String("3"))
        return QStringLiteral("USt-Kennzeichen \"") + a.vatCode +
               QStringLiteral("\" ist nicht 1, 2 oder 3");
    if (a.waitingTime.size() > kMaxWaitingTime)
        return QStringLiteral("Wartezeit länger als %1 Zeichen").arg(kMaxWaitingTime);
    return {};
}

void SetPrices(ListArticle& a, const QString& purchase, const QString& sale)
{
    TryStrToFloat(purchase, &a.purchase);
    a.hasSale = !sale.isEmpty();
    if (a.hasSale)
        TryStrToFloat(sale, &a.sale);
}

// Names identify medications without regard to case; a list names each one once.
class NameCheck {
public:
    QString Fault(const ListArticle& a)
    {
        const QString key = a.name.toCaseFolded();
        const auto it = m_lines.constFind(key);
        if (it != m_lines.cend())
            return QStringLiteral("Artikel \"") + a.name +
                   QStringLiteral("\" steht schon in Zeile ") + QString::number(*it);
        m_lines.insert(key, a.line);
        return {};
    }

private:
    QHash<QString, int> m_lines;
};

QString FieldCountFault(int expected, qsizetype found)
{
    return QStringLiteral("%1 Felder erwartet, %2 gefunden").arg(expected).arg(found);
}

QString HeaderFault(const char* header)
{
    return QStringLiteral("Kopfzeile \"") + QString::fromLatin1(header) +
           QStringLiteral("\" erwartet");
}

QDate ParseDate(const QString& text)
{
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

ListReadResult ReadBarsoiText(const QByteArray& bytes, const QString& fileName, const QString& date)
{
    const QStringList lines = TextLines(bytes);
    if (lines.isEmpty() || !HeaderMatches(lines.first(), kBarsoiHeader))
        return Failed(fileName, 1, HeaderFault(kBarsoiHeader));
    ListReadResult r;
    r.list.source = ListSource::Barsoi;
    r.list.date = date;
    r.list.fileName = fileName;
    NameCheck names;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const QStringList f = Fields(lines[i]);
        if (f.size() != 6)
            return Failed(fileName, i + 1, FieldCountFault(6, f.size()));
        ListArticle a;
        a.line = i + 1;
        a.manufacturer = f[0];
        a.name = f[1];
        a.vatCode = f[4];
        a.waitingTime = f[5];
        QString fault = ArticleFault(a, f[2], f[3]);
        if (fault.isEmpty())
            fault = names.Fault(a);
        if (!fault.isEmpty())
            return Failed(fileName, a.line, fault);
        SetPrices(a, f[2], f[3]);
        r.list.articles.append(a);
    }
    r.ok = true;
    return r;
}

ListReadResult ReadBarsoiXml(const QByteArray& bytes, const QString& fileName)
{
    QXmlStreamReader xml(bytes);
    ListReadResult r;
    r.list.source = ListSource::Barsoi;
    r.list.fileName = fileName;
    NameCheck names;
    const auto xmlFailure = [&] {
        return Failed(fileName, int(xml.lineNumber()),
                      QStringLiteral("XML-Fehler: ") + xml.errorString());
    };
    if (!xml.readNextStartElement())
        return xml.hasError() ? xmlFailure() : Failed(fileName, 1, QStringLiteral("leere Datei"));
    if (xml.name() != QLatin1String("barsoi"))
        return Failed(fileName, int(xml.lineNumber()), QStringLiteral("Element <barsoi> erwartet"));
    while (xml.readNextStartElement()) {
        const int line = int(xml.lineNumber());
        if (xml.name() == QLatin1String("daten")) {
            r.list.date = xml.readElementText().trimmed();
            if (!ParseDate(r.list.date).isValid())
                return Failed(fileName, line,
                              QStringLiteral("Datum \"") + r.list.date +
                                  QStringLiteral("\" ist kein Datum TT.MM.JJJJ"));
            continue;
        }
        if (xml.name() != QLatin1String("artikel")) {
            xml.skipCurrentElement();
            continue;
        }
        ListArticle a;
        a.line = line;
        QString purchase;
        QString sale;
        bool hasName = false;
        bool hasPurchase = false;
        while (xml.readNextStartElement()) {
            const QString field = xml.name().toString();
            const QString text = xml.readElementText().trimmed();
            if (field == QLatin1String("hersteller"))
                a.manufacturer = text;
            else if (field == QLatin1String("name"))
                a.name = text, hasName = true;
            else if (field == QLatin1String("ek"))
                purchase = text, hasPurchase = true;
            else if (field == QLatin1String("vk"))
                sale = text;
            else if (field == QLatin1String("ust"))
                a.vatCode = text;
            else if (field == QLatin1String("wartezeit"))
                a.waitingTime = text;
        }
        if (xml.hasError())
            return xmlFailure();
        QString fault = !hasName       ? QStringLiteral("<name> fehlt")
                        : !hasPurchase ? QStringLiteral("<ek> fehlt")
                                       : ArticleFault(a, purchase, sale);
        if (fault.isEmpty())
            fault = names.Fault(a);
        if (!fault.isEmpty())
            return Failed(fileName, a.line, fault);
        SetPrices(a, purchase, sale);
        r.list.articles.append(a);
    }
    if (xml.hasError())
        return xmlFailure();
    if (r.list.date.isEmpty())
        return Failed(fileName, int(xml.lineNumber()), QStringLiteral("<daten> fehlt"));
    r.ok = true;
    return r;
}

ListReadResult ReadWdtLists(const QByteArray& articles, const QString& articleName,
                            const QByteArray& prices, const QString& priceName)
{
    const QStringList artLines = TextLines(articles);
    const QStringList prsLines = TextLines(prices);
    if (artLines.isEmpty() || !HeaderMatches(artLines.first(), kWdtArticleHeader))
        return Failed(articleName, 1, HeaderFault(kWdtArticleHeader));
    if (prsLines.isEmpty() || !HeaderMatches(prsLines.first(), kWdtPriceHeader))
        return Failed(priceName, 1, HeaderFault(kWdtPriceHeader));

    ListReadResult r;
    r.list.source = ListSource::Wdt;
    r.list.date = WdtListDate(articleName);
    r.list.fileName = articleName;
    QHash<QString, int> byNumber;  // article number -> index in the list
    QList<int> priceLine;          // per article, the line of its price (0: none yet)
    QStringList articleSale;
    for (int i = 1; i < artLines.size(); ++i) {
        if (artLines[i].trimmed().isEmpty())
            continue;
        const QStringList f = Fields(artLines[i]);
        if (f.size() != 6)
            return Failed(articleName, i + 1, FieldCountFault(6, f.size()));
        if (f[0].isEmpty())
            return Failed(articleName, i + 1, QStringLiteral("Artikelnummer fehlt"));
        if (byNumber.contains(f[0]))
            return Failed(articleName, i + 1,
                          QStringLiteral("Artikelnummer \"") + f[0] +
                              QStringLiteral("\" steht schon in Zeile ") +
                              QString::number(r.list.articles[byNumber[f[0]]].line));
        if (f[4] != QLatin1String("A") && f[4] != QLatin1String("F"))
            return Failed(
                articleName, i + 1,
                QStringLiteral("Art \"") + f[4] + QStringLiteral("\" ist nicht A oder F"));
        ListArticle a;
        a.line = i + 1;
        a.manufacturer = f[1];
        a.name = f[2];
        a.vatCode = f[3];
        a.feed = f[4] == QLatin1String("F");
        a.waitingTime = f[5];
        // The prices are checked with the price lines; here any valid amount stands in.
        const QString fault = ArticleFault(a, QStringLiteral("0"), QString());
        if (!fault.isEmpty())
            return Failed(articleName, a.line, fault);
        byNumber.insert(f[0], int(r.list.articles.size()));
        r.list.articles.append(a);
        priceLine.append(0);
    }
    for (int i = 1; i < prsLines.size(); ++i) {
        if (prsLines[i].trimmed().isEmpty())
            continue;
        const QStringList f = Fields(prsLines[i]);
        if (f.size() != 3)
            return Failed(priceName, i + 1, FieldCountFault(3, f.size()));
        const auto it = byNumber.constFind(f[0]);
        if (it == byNumber.cend())
            return Failed(priceName, i + 1,
                          QStringLiteral("Artikelnummer \"") + f[0] +
                              QStringLiteral("\" fehlt in ") + articleName);
        if (priceLine[*it] != 0)
            return Failed(priceName, i + 1,
                          QStringLiteral("Preis für \"") + f[0] +
                              QStringLiteral("\" steht schon in Zeile ") +
                              QString::number(priceLine[*it]));
        ListArticle& a = r.list.articles[*it];
        QString fault = ArticleFault(a, f[1], f[2]);
        if (fault.isEmpty() && a.feed && f[2].isEmpty())
            fault = QStringLiteral("Futtermittel brauchen einen Verkaufspreis");
        if (!fault.isEmpty())
            return Failed(priceName, i + 1, fault);
        SetPrices(a, f[1], f[2]);
        priceLine[*it] = i + 1;
    }
    NameCheck names;
    for (int k = 0; k < r.list.articles.size(); ++k) {
        const ListArticle& a = r.list.articles[k];
        if (priceLine[k] == 0)
            return Failed(articleName, a.line, QStringLiteral("kein Preis in ") + priceName);
        const QString fault = names.Fault(a);
        if (!fault.isEmpty())
            return Failed(articleName, a.line, fault);
    }
    r.ok = true;
    return r;
}

namespace {

ListReadResult Unreadable(const QString& path)
{
    ListReadResult r;
    r.error = QStringLiteral("Die Datei ") + QDir::toNativeSeparators(path) +
              QStringLiteral(
                  " kann nicht gelesen werden.\rDie Medikamententabelle bleibt "
                  "unverändert.");
    return r;
}

// The ART_ file named by the path, or the newest one of its folder.
QString WdtArticleFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile() && IsWdtArticleFile(info.fileName()))
        return info.absoluteFilePath();
    const QDir folder = info.dir();
    QString best;
    QDate bestDate;
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (!IsWdtArticleFile(name))
            continue;
        const QDate d = ParseDate(WdtListDate(name));
        if (d.isValid() && (!bestDate.isValid() || d > bestDate)) {
            best = folder.filePath(name);
            bestDate = d;
        }
    }
    return best;
}

}  // namespace

ListReadResult ReadListFiles(const QString& path, ListSource source)
{
    if (source == ListSource::Barsoi) {
        QByteArray bytes;
        if (!QFileInfo(path).isFile() || !files::ReadWhole(path, bytes))
            return Unreadable(path);
        const QString name = QFileInfo(path).fileName();
        if (name.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive))
            return ReadBarsoiXml(bytes, name);
        const QDate date = QFileInfo(path).lastModified().date();
        return ReadBarsoiText(bytes, name, date.toString(QStringLiteral("dd.MM.yyyy")));
    }
    const QString article = WdtArticleFile(path);
    if (article.isEmpty()) {
        ListReadResult r;
        r.error = QStringLiteral("Im Ordner ") +
                  QDir::toNativeSeparators(QFileInfo(path).absolutePath()) +
                  QStringLiteral(" liegt keine WDT-Liste (ART_...txt).");
        return r;
    }
    const QFileInfo articleInfo(article);
    QString priceName = articleInfo.fileName();
    priceName.replace(priceName.indexOf(QStringLiteral("ART_"), 0, Qt::CaseInsensitive), 4,
                      QStringLiteral("PRS_"));
    const QString price = files::FindCaseInsensitive(articleInfo.absolutePath(), priceName);
    QByteArray articleBytes;
    QByteArray priceBytes;
    if (!files::ReadWhole(article, articleBytes))
        return Unreadable(article);
    if (!QFileInfo(price).isFile() || !files::ReadWhole(price, priceBytes))
        return Unreadable(price);
    return ReadWdtLists(articleBytes, articleInfo.fileName(), priceBytes,
                        QFileInfo(price).fileName());
}

bool IsBarsoiList(const QByteArray& body, bool xml)
{
    if (xml) {
        QXmlStreamReader reader(body);
        return reader.readNextStartElement() && reader.name() == QLatin1String("barsoi");
    }
    const QStringList lines = TextLines(body.left(4096));
    return !lines.isEmpty() && HeaderMatches(lines.first(), kBarsoiHeader);
}

}  // namespace download
