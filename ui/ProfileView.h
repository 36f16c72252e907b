#pragma once
#include <QWidget>
#include <optional>

#include "core/road/Profile.h"

// The drawing of a vertical alignment: the grade lines between the grade
// points (thin, dashed), the design line with its vertical curves (solid),
// and at each point its name, station, elevation and the grade leaving it.
// Heights are drawn ten times the scale of stations, as the drawing states.
class CProfileView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kExaggeration = 10;
    explicit CProfileView(QWidget* parent = nullptr);

    // The profile to draw; none: an empty drawing.
    void SetProfile(std::optional<vexaline::Profile> profile);
    const std::optional<vexaline::Profile>& Shown() const { return profile_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<vexaline::Profile> profile_;
};
