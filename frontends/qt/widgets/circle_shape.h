// A round shape of the front panel: a circle with a black 1-pixel outline, filled with a
// toolkit colour (0x00BBGGRR). The alarm lamp.
#pragma once

#include <QWidget>
#include <cstdint>

class CircleShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(uint fillColour READ fillColour WRITE setFillColour)

public:
    explicit CircleShape(QWidget* parent = nullptr);

    uint32_t fillColour() const { return fill_colour_; }
    void setFillColour(uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t fill_colour_ = 0x00FFFFFF;
};
