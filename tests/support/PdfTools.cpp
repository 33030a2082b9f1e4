#include "PdfTools.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace pdftools {

namespace {

QString Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

QString Text(const QString& pdf, bool layout)
{
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    args << pdf << QStringLiteral("-");
    return Run(QStringLiteral("pdftotext"), args);
}

int PageCount(const QString& pdf)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

QList<Word> Words(const QString& pdf, int page)
{
    const QString n = QString::number(page);
    const QString xml =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), n,
                                          QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
    constexpr double kMmPerPoint = 25.4 / 72.0;
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> words;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto mm = [&m](int i) { return m.captured(i).toDouble() * kMmPerPoint; };
        words.append({m.captured(5), QRectF(QPointF(mm(1), mm(2)), QPointF(mm(3), mm(4)))});
    }
    return words;
}

QRectF BoxOf(const QList<Word>& words, const QString& text)
{
    for (const Word& w : words) {
        if (w.text == text)
            return w.mm;
    }
    ADD_FAILURE() << "not printed: " << text.toStdString();
    return {};
}

QByteArray ScannedCode(const QString& pdf, int page)
{
    const QString png = pdf + QStringLiteral(".scan");
    const QString number = QString::number(page);
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"),
         number, QStringLiteral("-l"), number, QStringLiteral("-singlefile"), pdf, png});
    QByteArray code = Run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                                      png + QStringLiteral(".png")})
                          .toUtf8();
    QFile::remove(png + QStringLiteral(".png"));
    if (code.endsWith('\n'))
        code.chop(1);
    return code;
}

void ExpectInOrder(const QString& text, const QStringList& needles)
{
    qsizetype from = 0;
    for (const QString& n : needles) {
        const qsizetype at = text.indexOf(n, from);
        EXPECT_GE(at, 0) << "missing or out of order: " << n.toStdString();
        if (at >= 0)
            from = at + n.size();
    }
}

void Keep(const QString& pdf, const QString& name)
{
    const QString keep = qEnvironmentVariable("TALVEN_KEEP_PNG");
    if (keep.isEmpty())
        return;
    QFile::copy(pdf, QDir(keep).filePath(name + QStringLiteral(".pdf")));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                     QStringLiteral("60"), pdf, QDir(keep).filePath(name)});
}

}  // namespace pdftools
