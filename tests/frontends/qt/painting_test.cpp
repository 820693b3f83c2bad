// The frame buffer painted into the display picture, the colours, and the display before
// the first ON.
#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <QtMath>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "front_panel_fixture.h"
#include "qt/render_lcd.h"
#include "qt/system_colours.h"

using namespace txm9;

namespace {

using Painting = FrontPanel;

QRgb unlit_colour(const TForm1& form) {
    return resolve_colour(COLOUR_INACTIVE_BORDER, form.Image1->palette());
}

std::string rgb_text(QRgb c) {
    return std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," +
           std::to_string(qBlue(c));
}

// Every surface pixel as the frame buffer says, and white outside the 228 x 128 display.
void expect_surface_shows_buffer(const TForm1& form) {
    const QImage& surface = form.Image1->picture();
    ASSERT_EQ(surface.size(), QSize(229, 131));
    const QRgb unlit = unlit_colour(form);
    int wrong = 0;
    for (int py = 0; py < 131; ++py) {
        for (int px = 0; px < 229; ++px) {
            QRgb expected = qRgb(255, 255, 255);
            if (px < 228 && py < 128) {
                const int x = px / 2;
                const int y = py / 2;
                const bool lit = (lcd_buffer[(y / 8) * 114 + x] & pixel_bit_mask[y % 8]) != 0;
                expected = lit ? qRgb(0, 0, 0) : unlit;
            }
            const QRgb seen = surface.pixel(px, py) | 0xFF000000u;
            if (seen != expected && ++wrong <= 5) {
                ADD_FAILURE() << "picture pixel " << px << "," << py << ": expected "
                              << rgb_text(expected) << ", painted " << rgb_text(seen);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Painting, DisplayBeforeTheFirstOnShowsThePanel) {
    EXPECT_TRUE(form->Image1->picture().isNull()) << "no picture before the first ON";
    const QImage panel = form->Panel1->grab().toImage();
    const QRgb scroll_bar = resolve_colour(COLOUR_SCROLL_BAR, form->Panel1->palette());
    EXPECT_EQ(panel.pixel(115, 66), scroll_bar) << rgb_text(panel.pixel(115, 66));
    EXPECT_EQ(panel.pixel(200, 120), scroll_bar);
    // Raised bevel: light top and left edge, dark right and bottom edge.
    EXPECT_EQ(panel.pixel(50, 0), form->palette().color(QPalette::Light).rgb());
    EXPECT_EQ(panel.pixel(0, 50), form->palette().color(QPalette::Light).rgb());
    EXPECT_EQ(panel.pixel(230, 50), form->palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(panel.pixel(50, 132), form->palette().color(QPalette::Dark).rgb());
}

TEST_F(Painting, OnePixelBecomesATwoByTwoBlock) {
    lcd_put_pixel(0, 0, PIXEL_SET);
    lcd_put_pixel(113, 63, PIXEL_SET);
    render_lcd();
    const QImage& surface = form->Image1->picture();
    for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1), QPoint(226, 126),
                     QPoint(227, 126), QPoint(226, 127), QPoint(227, 127)}) {
        EXPECT_EQ(surface.pixel(p) | 0xFF000000u, qRgb(0, 0, 0)) << p.x() << "," << p.y();
    }
    EXPECT_EQ(surface.pixel(2, 0), unlit_colour(*form));
    EXPECT_EQ(surface.pixel(0, 2), unlit_colour(*form));
    expect_surface_shows_buffer(*form);
}

TEST_F(Painting, EveryPixelOfARandomFrame) {
    std::mt19937 random(9);
    for (uint8_t& b : lcd_buffer) {
        b = static_cast<uint8_t>(random());
    }
    render_lcd();
    expect_surface_shows_buffer(*form);
    std::memset(lcd_buffer, 0, LCD_BUFFER_SIZE);
    render_lcd();
    expect_surface_shows_buffer(*form);
}

TEST_F(Painting, WholeFrameMatchesPaintingPixelByPixel) {
    std::mt19937 random(23);
    for (uint8_t& b : lcd_buffer) {
        b = static_cast<uint8_t>(random());
    }
    render_lcd();
    const QImage whole = form->Image1->picture().copy();

    form->Image1->surface().fill(Qt::white);
    for (uint8_t x = 0; x < LCD_WIDTH; ++x) {
        for (uint8_t y = 0; y < LCD_HEIGHT; ++y) {
            const bool lit = lcd_get_pixel(x, y) != 0;
            render_lcd_pixel(x, y, lit ? COLOUR_BLACK : COLOUR_INACTIVE_BORDER);
        }
    }
    EXPECT_EQ(form->Image1->picture(), whole)
        << "the frame painted at once differs from its pixels painted one by one";
}

// Counts the paint events a control receives, and the region they repaint.
class PaintCounter : public QObject {
public:
    int paints = 0;
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

TEST_F(Painting, OnlyAChangedFrameIsRedrawn) {
    PaintCounter counter;
    form->Image1->installEventFilter(&counter);
    const auto paints_after_render = [&] {
        counter.paints = 0;
        render_lcd();
        QCoreApplication::processEvents();
        return counter.paints;
    };
    lcd_put_pixel(5, 5, PIXEL_SET);
    EXPECT_EQ(paints_after_render(), 1) << "a new frame";
    EXPECT_EQ(paints_after_render(), 0) << "the same frame again";
    lcd_put_pixel(6, 5, PIXEL_SET);
    EXPECT_EQ(paints_after_render(), 1) << "one pixel more";
    expect_surface_shows_buffer(*form);
}

// A blinking icon, a changed digit or a line of text sends only its own blocks to the
// screen.
TEST_F(Painting, AChangeRepaintsOnlyItsRectangle) {
    PaintCounter counter;
    form->Image1->installEventFilter(&counter);
    lcd_fill(0, 0, 114, 20, PIXEL_SET);
    render_lcd();
    QCoreApplication::processEvents();
    const struct {
        const char* what;
        int left, top, right, bottom; // display pixels, the right and bottom excluded
    } changes[] = {{"an 8 x 8 icon", 100, 0, 108, 8},
                   {"a band of eight rows", 0, 24, 114, 32},
                   {"one pixel", 57, 63, 58, 64},
                   {"across two pages", 30, 6, 40, 10}};
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        lcd_fill(static_cast<uint8_t>(change.left), static_cast<uint8_t>(change.top),
                 static_cast<uint8_t>(change.right), static_cast<uint8_t>(change.bottom - 1),
                 PIXEL_TOGGLE);
        counter.paints = 0;
        counter.painted = QRegion();
        render_lcd();
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints, 1);
        const QRect expected(2 * change.left, 2 * change.top, 2 * (change.right - change.left),
                             2 * (change.bottom - change.top));
        EXPECT_EQ(counter.painted, QRegion(expected))
            << "repainted " << counter.painted.boundingRect().x() << ","
            << counter.painted.boundingRect().y() << " " << counter.painted.boundingRect().width()
            << " x " << counter.painted.boundingRect().height();
        expect_surface_shows_buffer(*form);
    }
}

TEST_F(Painting, UnlitPixelsReadAsAnLcdGround) {
    const QRgb unlit = unlit_colour(*form);
    EXPECT_EQ(qRed(unlit), qGreen(unlit)) << rgb_text(unlit);
    EXPECT_EQ(qGreen(unlit), qBlue(unlit)) << rgb_text(unlit);
    EXPECT_GE(qGray(unlit), 150) << "a light grey ground, " << rgb_text(unlit);
    EXPECT_LE(qGray(unlit), 230) << "grey, not white, " << rgb_text(unlit);
}

TEST_F(Painting, SystemColoursAreResolvedWhenPainting) {
    QPalette changed = form->Image1->palette();
    changed.setColor(QPalette::Active, system_colour_role(11), QColor(10, 200, 30));
    form->Image1->setPalette(changed);
    render_lcd();
    EXPECT_EQ(form->Image1->picture().pixel(10, 10), qRgb(10, 200, 30));
}

TEST(Colours, FixedColoursConvertExactly) {
    const QPalette palette;
    const struct {
        uint32_t colour;
        QRgb rgb;
    } cases[] = {{0x000000FF, qRgb(255, 0, 0)},       {0x00000080, qRgb(128, 0, 0)},
                 {0x00000000, qRgb(0, 0, 0)},         {0x00FFFFFF, qRgb(255, 255, 255)},
                 {0x00FF0000, qRgb(0, 0, 255)},       {0x0000FF00, qRgb(0, 255, 0)},
                 {0x00123456, qRgb(0x56, 0x34, 0x12)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.colour));
        EXPECT_EQ(resolve_colour(c.colour, palette), c.rgb);
    }
}

TEST(Colours, SystemColoursComeFromThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Mid, QColor(4, 5, 6));
    palette.setColor(QPalette::Midlight, QColor(7, 8, 9));
    EXPECT_EQ(resolve_colour(COLOUR_BUTTON_FACE, palette), qRgb(1, 2, 3));
    EXPECT_EQ(resolve_colour(COLOUR_SCROLL_BAR, palette), qRgb(4, 5, 6));
    EXPECT_EQ(resolve_colour(COLOUR_INACTIVE_BORDER, palette), qRgb(7, 8, 9));
}

TEST_F(Painting, ShownPictureIsTheSurface) {
    lcd_fill(10, 10, 40, 30, PIXEL_SET);
    render_lcd();
    const QImage shown = form->Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, form->Image1->picture().convertToFormat(QImage::Format_RGB32));
}

// Lengths of the runs of equal colour along a line of device pixels.
std::vector<std::pair<QRgb, int>> runs_along(const QImage& image, QPoint from, QPoint step,
                                             int count) {
    std::vector<std::pair<QRgb, int>> runs;
    for (int i = 0; i < count; ++i) {
        const QRgb c = image.pixel(from + i * step) | 0xFF000000u;
        if (runs.empty() || runs.back().first != c) {
            runs.emplace_back(c, 0);
        }
        ++runs.back().second;
    }
    return runs;
}

// On a scaled desktop, whole or fractional, the display fills its picture: a checkerboard
// frame reads as 114 columns and 64 rows of blocks, each a whole number of device pixels as
// wide as the scale allows, in the two LCD colours only, and then the white margin.
TEST_F(Painting, DisplayFillsItsPictureCrispAtEveryScale) {
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            lcd_put_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                          (x + y) % 2 == 0 ? PIXEL_SET : PIXEL_CLEAR);
        }
    }
    render_lcd();
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb unlit = unlit_colour(*form);
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE("device pixel ratio " + std::to_string(ratio));
        QImage device(qCeil(621 * ratio), qCeil(404 * ratio), QImage::Format_RGB32);
        device.setDevicePixelRatio(ratio);
        device.fill(Qt::magenta);
        form->render(&device);
        // Image1's corner lies at (40, 95) in the window.
        const QPoint corner(qRound(40 * ratio), qRound(95 * ratio));
        const int control_width = qRound((40 + 229) * ratio) - corner.x();
        const int control_height = qRound((95 + 131) * ratio) - corner.y();
        const int narrow = qFloor(2 * ratio);
        const int wide = qCeil(2 * ratio);
        const struct {
            const char* along;
            QPoint step;
            int length;
            int blocks;
        } lines[] = {{"a row", {1, 0}, control_width, LCD_WIDTH},
                     {"a column", {0, 1}, control_height, LCD_HEIGHT}};
        for (const auto& line : lines) {
            SCOPED_TRACE(line.along);
            // Through the middle of the first block row or column.
            const QPoint from = corner + (QPoint(1, 1) - line.step) * qFloor(ratio);
            const auto runs = runs_along(device, from, line.step, line.length);
            ASSERT_EQ(runs.size(), static_cast<std::size_t>(line.blocks) + 1);
            for (int i = 0; i < line.blocks; ++i) {
                SCOPED_TRACE("block " + std::to_string(i));
                EXPECT_EQ(runs[static_cast<std::size_t>(i)].first, i % 2 == 0 ? black : unlit);
                EXPECT_GE(runs[static_cast<std::size_t>(i)].second, narrow);
                EXPECT_LE(runs[static_cast<std::size_t>(i)].second, wide);
            }
            EXPECT_EQ(runs.back().first, white) << "the margin";
            EXPECT_LE(runs.back().second, line.step.x() != 0 ? wide / 2 + 1 : 3 * wide / 2 + 1);
        }
    }
}

} // namespace
