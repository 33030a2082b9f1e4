// The downloaded drug lists: the text and XML forms of the Barsoi list and the WDT pair
// (the input split at its first NUL byte into articles and prices). Reading never crashes,
// a list read whole has articles with readable prices and VAT codes, and a refused list
// says why. The same input is also read as a server's file listing: the newest article
// list found in it is one of the listing's.
#include "FuzzSupport.h"
#include "download/DownloadRules.h"
#include "download/DrugLists.h"

namespace {

void CheckResult(const download::ListReadResult& r)
{
    if (!r.ok) {
        fuzz::Check(!r.error.isEmpty(), "a refused list says why");
        return;
    }
    for (const download::ListArticle& a : r.list.articles) {
        fuzz::Check(a.purchase == a.purchase && a.sale == a.sale, "prices are numbers");
        fuzz::Check(a.vatCode.isEmpty() || a.vatCode == QLatin1String("1") ||
                        a.vatCode == QLatin1String("2") || a.vatCode == QLatin1String("3"),
                    "VAT codes are 1 to 3");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckResult(download::ReadBarsoiText(bytes, QStringLiteral("BLMEDI1.TXT"),
                                         QStringLiteral("01.03.2026")));
    CheckResult(download::ReadBarsoiXml(bytes, QStringLiteral("BARSOI.XML")));
    const qsizetype split = bytes.indexOf('\0');
    const QByteArray articles = split < 0 ? bytes : bytes.left(split);
    const QByteArray prices = split < 0 ? QByteArray() : bytes.mid(split + 1);
    CheckResult(download::ReadWdtLists(articles, QStringLiteral("ART_20260301.TXT"), prices,
                                       QStringLiteral("PRS_20260301.TXT")));
    (void)download::IsBarsoiList(bytes, false);
    (void)download::IsBarsoiList(bytes, true);

    QStringList listed;
    for (QString name : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        name = name.trimmed().section(QLatin1Char('/'), -1);
        if (download::IsWdtArticleFile(name))
            listed << name;
    }
    const QString newest = download::NewestWdtListDate(listed);
    fuzz::Check(newest.isEmpty() == listed.isEmpty(), "a listing with lists has a newest");
    bool named = listed.isEmpty();
    for (const QString& name : listed)
        named = named || download::WdtListDate(name) == newest;
    fuzz::Check(named, "the newest list is one of the listing's");
    (void)download::BarsoiXmlDate(bytes);
    return 0;
}
