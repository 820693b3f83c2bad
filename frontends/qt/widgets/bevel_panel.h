// A panel of the front panel: a container filled with a toolkit colour (by default the
// desktop's scroll-bar colour) inside a raised bevel one pixel wide.
#pragma once

#include <QWidget>
#include <cstdint>

class BevelPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(uint colour READ colour WRITE setColour)

public:
    explicit BevelPanel(QWidget* parent = nullptr);

    uint32_t colour() const { return colour_; }
    void setColour(uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t colour_;
};
