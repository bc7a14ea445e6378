// A label whose text is drawn with an outline in a second colour, so that a
// number stays readable over any picture behind it: the survival countdown
// over the top of the well, where figures appear in every colour.
#pragma once

#include <QColor>
#include <QLabel>

namespace plumix {

class OutlinedLabel : public QLabel {
    Q_OBJECT
public:
    explicit OutlinedLabel(QWidget* parent = nullptr);
    // The text's colour is the palette's WindowText; this is the outline's.
    void SetOutlineColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor outline_{Qt::black};
};

} // namespace plumix
