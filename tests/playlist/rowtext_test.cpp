// Display names and row texts: pure functions, no widgets.
#include "playlist/playlist.h"

#include <QByteArray>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <iconv.h>
#include <memory>

namespace tarvelo::playlist {
namespace {

// Decodes GBK bytes the way a path from a GBK system arrives in the program: Qt's own
// decoder when it was built with one, glibc's iconv otherwise.
QString fromGbk(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    if (decoder.isValid()) {
        const QString text = decoder(bytes);
        if (!decoder.hasError())
            return text;
    }
    const std::unique_ptr<void, int (*)(iconv_t)> cd(iconv_open("UTF-8", "GBK"), &iconv_close);
    if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no GBK decoder";
        return {};
    }
    QByteArray in = bytes;
    QByteArray out(bytes.size() * 4 + 4, '\0');
    char *inPtr = in.data();
    char *outPtr = out.data();
    size_t inLeft = static_cast<size_t>(in.size());
    size_t outLeft = static_cast<size_t>(out.size());
    if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        ADD_FAILURE() << "bytes are not GBK";
        return {};
    }
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return QString::fromUtf8(out);
}

struct NameCase
{
    const char *what;
    QString path;
    QString name;
};

TEST(DisplayName, TakesWhatFollowsTheLastSeparator)
{
    const NameCase cases[] = {
        { "no separator", QStringLiteral("song.mp3"), QStringLiteral("song.mp3") },
        { "empty path", QString(), QString() },
        { "ends in a separator", QStringLiteral("D:\\music\\"), QString() },
        { "only a separator", QStringLiteral("/"), QString() },
        { "several backslashes", QStringLiteral("D:\\a\\b\\c.mp3"), QStringLiteral("c.mp3") },
        { "several slashes", QStringLiteral("/home/u/Music/c.mp3"), QStringLiteral("c.mp3") },
        { "slash after backslash", QStringLiteral("D:\\a/b.mp3"), QStringLiteral("b.mp3") },
        { "backslash after slash", QStringLiteral("/a/b\\c.mp3"), QStringLiteral("c.mp3") },
        { "non-Latin name", QStringLiteral("/音乐/晴天.mp3"), QStringLiteral("晴天.mp3") },
    };
    for (const NameCase &c : cases)
        EXPECT_EQ(displayName(c.path), c.name) << c.what;
}

TEST(DisplayName, TrailByte0x5COfAGbkCharacterIsNoSeparator)
{
    // 0x81 0x5C is "乗", 0x9C 0x5C is "淺": read byte by byte, each would hold a "\".
    const NameCase cases[] = {
        { "in the name",
          fromGbk("C:\\music\\\x81\x5C"
                  "a.mp3"),
          QStringLiteral("乗a.mp3") },
        { "ending the name", fromGbk("C:\\dir\\x\x9C\x5C"), QStringLiteral("x淺") },
        { "in the folder too",
          fromGbk("C:\\\x9C\x5C\\\x81\x5C"
                  "1.mp3"),
          QStringLiteral("乗1.mp3") },
    };
    for (const NameCase &c : cases) {
        ASSERT_FALSE(c.path.isEmpty()) << c.what;
        EXPECT_EQ(displayName(c.path), c.name) << c.what;
    }
}

TEST(RowText, PadsNumberAndColonToFiveUpToTrack999)
{
    const struct
    {
        int track;
        const char *row;
    } cases[] = {
        { 1, "1:   a.mp3" },     { 9, "9:   a.mp3" },         { 10, "10:  a.mp3" },
        { 99, "99:  a.mp3" },    { 100, "100: a.mp3" },       { 999, "999: a.mp3" },
        { 1000, "1000: a.mp3" }, { 123456, "123456: a.mp3" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(rowText(c.track, QStringLiteral("D:\\x\\a.mp3")), QLatin1String(c.row))
            << c.track;
}

TEST(RowText, ShowsTheDisplayNameAfterTheNumber)
{
    EXPECT_EQ(rowText(3, QStringLiteral("whole.mp3")), QStringLiteral("3:   whole.mp3"));
    EXPECT_EQ(rowText(3, QStringLiteral("/dir/")), QStringLiteral("3:   "));
    EXPECT_EQ(rowText(12, QStringLiteral("/音乐/晴天.mp3")), QStringLiteral("12:  晴天.mp3"));
}

} // namespace
} // namespace tarvelo::playlist
