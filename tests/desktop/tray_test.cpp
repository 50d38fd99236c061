#include "desktop/tray.h"

#include <gtest/gtest.h>

using tarvelo::desktop::cutTrayTip;

namespace {

struct TipCase
{
    const char *what;
    QString text;
    QString shown;
};

TEST(TrayTip, IsCutAtSixtyTwoBytesOnACharacterBoundary)
{
    const QString ascii62(62, QLatin1Char('a'));
    // "播" is three bytes of UTF-8: twenty of them take 60 bytes, a twenty-first would not fit.
    const QString chinese21(21, QChar(0x64AD));
    const QString prefix = QStringLiteral("播放中:");       // 3 + 3 + 3 + 1 = 10 bytes
    const QString emoji = QString::fromUcs4(U"\U0001F3B5"); // four bytes, two UTF-16 units
    const TipCase cases[] = {
        { "short text", QStringLiteral("Tarvelo"), QStringLiteral("Tarvelo") },
        { "exactly 62 bytes", ascii62, ascii62 },
        { "63 bytes", ascii62 + QLatin1Char('b'), ascii62 },
        { "three-byte characters", chinese21, QString(20, QChar(0x64AD)) },
        { "a character that would straddle byte 62",
          prefix + QString(50, QLatin1Char('x')) + QStringLiteral("曲"),
          prefix + QString(50, QLatin1Char('x')) },
        { "a surrogate pair is never split", QString(60, QLatin1Char('x')) + emoji,
          QString(60, QLatin1Char('x')) },
        { "a surrogate pair that fits", QString(58, QLatin1Char('x')) + emoji,
          QString(58, QLatin1Char('x')) + emoji },
        { "empty", QString(), QString() },
    };
    for (const TipCase &c : cases) {
        const QString shown = cutTrayTip(c.text);
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_LE(shown.toUtf8().size(), 62) << c.what;
    }
}

} // namespace
