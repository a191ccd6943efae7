// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout pass's view of Form1: lengths in twips over the real widgets,
// reading back what each widget holds after its rounding to whole pixels.

#include <QRect>
#include <QSize>

#include "window/layout.h"

class QWidget;

namespace sorinel::window {

class Form1;

class Form1Layout final : public LayoutForm {
public:
    explicit Form1Layout(Form1& form) : form_(form) {}

    void yield() override;
    int windowState() const override;
    bool trayAvailable() const override;
    void hide() override;
    float height() const override;
    float width() const override;
    void setHeight(float twips) override;
    void setWidth(float twips) override;
    float top() const override;
    float left() const override;
    float get(LayoutControl control, LayoutProperty property) const override;
    void set(LayoutControl control, LayoutProperty property, float twips) override;
    void setPlayerAutoStart(bool on) override;
    void setTimer1Interval(std::int32_t ms) override;
    void setFilePattern(const std::string& pattern) override;
    void setDialogFilter(const std::string& filter) override;

private:
    QSize frame() const;
    QWidget& widget(LayoutControl control) const;
    QRect geometryOf(LayoutControl control) const;

    Form1& form_;
};

}  // namespace sorinel::window
