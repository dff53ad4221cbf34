// Compiles the Windows resource script (resources/norvana.rc, made by CMake
// from norvana.rc.in) with MinGW's windres, as the Windows build would, and
// reads the result: the icon group, and the VERSIONINFO with its Italian
// Unicode string table. windres runs the host's C preprocessor (cpp), so the
// MinGW compiler is not needed.

#include "binaryfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <map>
#include <optional>
#include <utility>

namespace {

constexpr char kWindres[] = "x86_64-w64-mingw32-windres";
constexpr quint16 kRtIcon = 3, kRtGroupIcon = 14, kRtVersion = 16;

qsizetype align4(qsizetype at)
{
    return (at + 3) & ~qsizetype(3);
}

QByteArray utf16le(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

// A null-terminated UTF-16LE string at 'at'; moves 'at' past it.
QString readUtf16(const QByteArray &d, qsizetype &at)
{
    QString text;
    while (at + 1 < d.size() && le16(d, at) != 0) {
        text.append(QChar(char16_t(le16(d, at))));
        at += 2;
    }
    at += 2;
    return text;
}

struct Resource
{
    quint16 type = 0; // ordinal; 0 when named
    QString typeName;
    quint16 id = 0;
    QString name;
    quint16 language = 0;
    QByteArray data;
};

// The entries of a .res file: each a RESOURCEHEADER (sizes, type, name,
// language...) followed by its data, both DWORD-aligned.
std::optional<std::vector<Resource>> parseRes(const QByteArray &d)
{
    std::vector<Resource> out;
    qsizetype at = 0;
    while (at + 8 <= d.size()) {
        const quint32 dataSize = le32(d, at);
        const quint32 headerSize = le32(d, at + 4);
        if (at + headerSize + dataSize > quint32(d.size()) || headerSize < 24)
            return std::nullopt;
        Resource r;
        qsizetype p = at + 8;
        if (le16(d, p) == 0xFFFF) {
            r.type = quint16(le16(d, p + 2));
            p += 4;
        } else {
            r.typeName = readUtf16(d, p);
        }
        if (le16(d, p) == 0xFFFF) {
            r.id = quint16(le16(d, p + 2));
            p += 4;
        } else {
            r.name = readUtf16(d, p);
        }
        p = align4(p);
        r.language = quint16(le16(d, p + 6)); // after DataVersion, MemoryFlags
        r.data = d.mid(at + headerSize, dataSize);
        if (dataSize > 0)
            out.push_back(r);
        at = align4(at + headerSize + dataSize);
    }
    return out;
}

// One node of a version resource: wLength, wValueLength, wType, szKey, the
// value, the children.
struct VersionNode
{
    QString key;
    int type = 0;
    QByteArray value;    // binary value
    QString text;        // text value (wType 1)
    std::vector<VersionNode> children;

    const VersionNode *child(const QString &k) const
    {
        for (const VersionNode &c : children)
            if (c.key == k)
                return &c;
        return nullptr;
    }
};

std::optional<VersionNode> parseVersionNode(const QByteArray &d, qsizetype at)
{
    if (at + 6 > d.size())
        return std::nullopt;
    const qsizetype length = le16(d, at);
    const qsizetype valueLength = le16(d, at + 2);
    const qsizetype end = at + length;
    if (length < 6 || end > d.size())
        return std::nullopt;
    VersionNode node;
    node.type = int(le16(d, at + 4));
    qsizetype p = at + 6;
    node.key = readUtf16(d, p);
    p = align4(p);
    if (valueLength > 0) {
        if (node.type == 1) {
            qsizetype q = p;
            node.text = readUtf16(d, q);
            p += valueLength * 2;
        } else {
            node.value = d.mid(p, valueLength);
            p += valueLength;
        }
    }
    p = align4(p);
    while (p < end) {
        std::optional<VersionNode> child = parseVersionNode(d, p);
        if (!child)
            return std::nullopt;
        p = align4(p + le16(d, p));
        node.children.push_back(*child);
    }
    return node;
}

} // namespace

class tst_WinRes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hasTheIcon();
    void fixedFileInfo();
    void italianUnicodeStrings();
    void translation();
    void coffObjectHoldsTheStrings();

private:
    QByteArray compile(const QString &format, const QString &output);
    const Resource *find(quint16 type) const;

    QString m_windres;
    std::vector<Resource> m_resources;
    std::optional<VersionNode> m_version;
};

QByteArray tst_WinRes::compile(const QString &format, const QString &output)
{
    QProcess process;
    process.start(m_windres, {QStringLiteral("--preprocessor=cpp"), QStringLiteral("--preprocessor-arg=-xc"),
                              QStringLiteral("--preprocessor-arg=-DRC_INVOKED"), QStringLiteral("--input"),
                              QStringLiteral(NORVANA_RC_FILE), QStringLiteral("--input-format=rc"),
                              QStringLiteral("--output"), output, QStringLiteral("--output-format=") + format});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning("%s", process.readAllStandardError().constData());
        return {};
    }
    return readFile(output);
}

void tst_WinRes::initTestCase()
{
    m_windres = QStandardPaths::findExecutable(QLatin1String(kWindres));
    QVERIFY(QDir().mkpath(QStringLiteral(NORVANA_WORK_DIR)));
    const QByteArray res = compile(QStringLiteral("res"), QStringLiteral(NORVANA_WORK_DIR "/norvana.res"));
    QVERIFY2(!res.isEmpty(), "windres failed on " NORVANA_RC_FILE);
    std::optional<std::vector<Resource>> resources = parseRes(res);
    QVERIFY2(resources, "the .res file is malformed");
    m_resources = *resources;
    const Resource *version = find(kRtVersion);
    QVERIFY2(version, "no VERSIONINFO resource");
    m_version = parseVersionNode(version->data, 0);
    QVERIFY2(m_version, "the VERSIONINFO resource is malformed");
}

const Resource *tst_WinRes::find(quint16 type) const
{
    for (const Resource &r : m_resources)
        if (r.type == type)
            return &r;
    return nullptr;
}

void tst_WinRes::hasTheIcon()
{
    // The icon group: GRPICONDIR with two entries, 32x32 and 16x16, 4 bpp.
    const Resource *group = find(kRtGroupIcon);
    QVERIFY2(group, "no icon group");
    QCOMPARE(group->id, quint16(1));
    const QByteArray &g = group->data;
    QVERIFY(g.size() >= 6);
    QCOMPARE(le16(g, 2), 1u);
    QCOMPARE(le16(g, 4), 2u);
    QCOMPARE(g.size(), 6 + 2 * 14);
    QCOMPARE(quint8(g[6]), quint8(32));
    QCOMPARE(quint8(g[6 + 14]), quint8(16));
    QCOMPARE(le16(g, 6 + 6), 4u);
    QCOMPARE(le16(g, 6 + 14 + 6), 4u);
    int icons = 0;
    for (const Resource &r : m_resources)
        icons += r.type == kRtIcon;
    QCOMPARE(icons, 2);
}

void tst_WinRes::fixedFileInfo()
{
    QCOMPARE(m_version->key, QStringLiteral("VS_VERSION_INFO"));
    const QByteArray &f = m_version->value;
    QCOMPARE(f.size(), 52);
    QCOMPARE(le32(f, 0), 0xFEEF04BDu);          // dwSignature
    QCOMPARE(le32(f, 8), 0x00010000u);          // FILEVERSION 1,0,...
    QCOMPARE(le32(f, 12), 0x00000000u);         // ...0,0
    QCOMPARE(le32(f, 16), 0x00010000u);         // PRODUCTVERSION 1,0,...
    QCOMPARE(le32(f, 20), 0x00000000u);         // ...0,0
    QCOMPARE(le32(f, 32), 0x00040004u);         // FILEOS VOS_NT_WINDOWS32
    QCOMPARE(le32(f, 36), 0x1u);                // FILETYPE VFT_APP
}

void tst_WinRes::italianUnicodeStrings()
{
    const VersionNode *stringInfo = m_version->child(QStringLiteral("StringFileInfo"));
    QVERIFY(stringInfo);
    QCOMPARE(int(stringInfo->children.size()), 1);
    const VersionNode *table = stringInfo->child(QStringLiteral("041004B0"));
    QVERIFY2(table, "no string table 041004B0 (Italian, Unicode)");
    std::map<QString, QString> strings;
    for (const VersionNode &s : table->children) {
        QCOMPARE(s.type, 1);
        strings[s.key] = s.text;
    }
    QCOMPARE(strings[QStringLiteral("ProductName")], QStringLiteral("Norvana"));
    QCOMPARE(strings[QStringLiteral("InternalName")], QStringLiteral("Norvana"));
    QCOMPARE(strings[QStringLiteral("OriginalFilename")], QStringLiteral("Norvana.exe"));
    QCOMPARE(strings[QStringLiteral("FileVersion")], QStringLiteral("1.00"));
    QCOMPARE(strings[QStringLiteral("ProductVersion")], QStringLiteral("1.00"));
    QVERIFY(!strings[QStringLiteral("FileDescription")].isEmpty());
}

void tst_WinRes::translation()
{
    const VersionNode *varInfo = m_version->child(QStringLiteral("VarFileInfo"));
    QVERIFY(varInfo);
    const VersionNode *translation = varInfo->child(QStringLiteral("Translation"));
    QVERIFY(translation);
    QCOMPARE(translation->value.size(), 4);
    QCOMPARE(le16(translation->value, 0), 0x410u); // Italian
    QCOMPARE(le16(translation->value, 2), 1200u);  // Unicode
}

// The object file a MinGW link would take: x86-64 COFF with the strings.
void tst_WinRes::coffObjectHoldsTheStrings()
{
    const QByteArray obj = compile(QStringLiteral("coff"), QStringLiteral(NORVANA_WORK_DIR "/norvana_rc.o"));
    QVERIFY2(!obj.isEmpty(), "windres could not make a COFF object");
    QCOMPARE(le16(obj, 0), 0x8664u); // IMAGE_FILE_MACHINE_AMD64
    for (const char *text : {"041004B0", "ProductName", "Norvana.exe", "FileVersion", "ProductVersion"})
        QVERIFY2(obj.contains(utf16le(QLatin1String(text))), text);
}

// Without windres or its preprocessor there is nothing to test: the test
// reports itself skipped (exit status 77).
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    for (const auto &[tool, package] : {std::pair{kWindres, "binutils-mingw-w64-x86-64"}, std::pair{"cpp", "cpp"}}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            std::printf("SKIP: %s is missing: install %s (scripts/install-deps.sh test)\n", tool, package);
            return 77;
        }
    }
    tst_WinRes test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_winres.moc"
