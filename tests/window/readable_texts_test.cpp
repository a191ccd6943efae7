// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's texts as a person reads them, at the window's first size and
// larger: nothing cut, nothing smaller than the desktop's own text, the
// half-width captions not smaller than the rest, and a list whose "m" does
// not smear on a Japanese desktop. The same binary runs again under
// QT_SCALE_FACTOR 1.5 and 2 (see CMakeLists.txt).
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <gtest/gtest.h>

#include "desktop.h"
#include "form_fixture.h"
#include "window/readable_fonts.h"

namespace {

using sorinel::testing::FormUnderTest;
using sorinel::window::Form1;

int pixelSize(const QWidget& w) { return QFontInfo(w.font()).pixelSize(); }

// The stems of an "m" drawn in font on a device with pixel ratio dpr: the
// bright runs along the row through the middle of its x-height, a run
// counting only where the dark between stems is clearly darker.
int stemsOfM(const QFont& font, qreal dpr) {
    const QFontMetrics metrics(font);
    const QSize logical(metrics.horizontalAdvance(QChar('m')) + 8, metrics.height() + 4);
    QImage image(logical * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(font);
    painter.drawText(4, 2 + metrics.ascent(), QStringLiteral("m"));
    painter.end();
    const int y = qRound((2 + metrics.ascent() - metrics.xHeight() / 2.0) * dpr);
    int brightest = 0;
    for (int x = 0; x < image.width(); ++x) brightest = std::max(brightest, qGray(image.pixel(x, y)));
    int stems = 0;
    bool inStem = false;
    for (int x = 0; x < image.width(); ++x) {
        const int g = qGray(image.pixel(x, y));
        if (!inStem && g >= brightest * 6 / 10) {
            ++stems;
            inStem = true;
        } else if (inStem && g <= brightest * 4 / 10) {
            inStem = false;
        }
    }
    return stems;
}

TEST(ReadableTexts, CaptionsFitAndGrowWithTheWindowAndNoneReadsSmall) {
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    const int desktopPx = QFontInfo(QApplication::font()).pixelSize();
    const QAbstractButton* fullWidth[] = {f.Command1, f.full_chk, f.listloop_chk};
    const QAbstractButton* halfWidth[] = {f.loop_chk, f.randam_chk};
    int firstCaptionPx = 0;
    for (const QSize size : {QSize(418, 334), QSize(640, 480), QSize(1024, 700)}) {
        f.resize(size);
        ASSERT_TRUE(sorinel::testing::waitUntil([&] { return f.size() == size; }, 3000));
        sorinel::testing::pumpFor(300);  // the layout pass, and the fonts after it
        SCOPED_TRACE(::testing::Message() << size.width() << "x" << size.height());
        for (const QAbstractButton* c : halfWidth)
            for (const QAbstractButton* other : fullWidth) EXPECT_GE(pixelSize(*c), pixelSize(*other));
        for (const QAbstractButton* c : {fullWidth[0], fullWidth[1], fullWidth[2], halfWidth[0], halfWidth[1]}) {
            const auto name = c->objectName().toStdString();
            EXPECT_GE(pixelSize(*c), desktopPx) << name;
            // Nothing cut: the caption's ink inside the space the control
            // draws it in, and clear of the control's top and bottom.
            QStyleOptionButton option;
            option.initFrom(c);
            const QRect space = c->style()->subElementRect(
                qobject_cast<const QCheckBox*>(c) ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                &option, c);
            const QRect ink = c->fontMetrics().tightBoundingRect(c->text());
            EXPECT_LT(ink.right(), space.width()) << name;
            EXPECT_LE(ink.height() + 2, c->height()) << name;
        }
        EXPECT_GE(pixelSize(*f.File1), std::max(sorinel::window::kListMinimumPixelSize, pixelSize(*f.full_chk)));
        // The seconds boxes keep their own font and show all of their text.
        for (const QLineEdit* box :
             {static_cast<QLineEdit*>(f.StartTime_txt), static_cast<QLineEdit*>(f.EndTime_txt)}) {
            EXPECT_DOUBLE_EQ(box->font().pointSizeF(), 11.25);
            // The ink of the text inside the space the box draws text in.
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
            const QRect space = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
            const QRect line = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            const QRect ink = box->fontMetrics()
                                  .tightBoundingRect(box->text())
                                  .translated(space.left(), line.top() + box->fontMetrics().ascent());
            EXPECT_GE(ink.top(), space.top()) << box->objectName().toStdString();
            EXPECT_LE(ink.bottom(), space.bottom()) << box->objectName().toStdString();
        }
        if (firstCaptionPx == 0) firstCaptionPx = pixelSize(*f.full_chk);
    }
    EXPECT_GT(pixelSize(*f.full_chk), firstCaptionPx) << "the captions did not grow with the window";
}

TEST(ReadableTexts, TheListsLettersStayApartOnAJapaneseDesktop) {
    // The gothic that a Japanese locale makes the desktop's font, at the
    // desktop's usual 9 points, where its "m" is a grey block.
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    const qreal dpr = f.devicePixelRatioF();
    EXPECT_EQ(QFontInfo(f.File1->font()).family(), QFontInfo(QApplication::font()).family());
    EXPECT_GE(stemsOfM(f.File1->font(), dpr), 3) << "at " << pixelSize(*f.File1) << " px";
    // The measure tells a smeared "m" from a clear one (at one device pixel
    // to a pixel; more pixels draw even the small size clearly).
    if (dpr == 1.0) EXPECT_LT(stemsOfM(QApplication::font(), dpr), 3);
    QApplication::setFont(before);
}

}  // namespace
