// The widget of each declared control kind, and how a model value is shown in it. The
// page view places them; this file only makes them and keeps them in step with the model.
#pragma once

#include <QAbstractSpinBox>
#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>

#include "pages/framework/PageBase.h"

// A number edit with a spin button: the text stays as typed (the unit gets it as text);
// the arrows step the leading number within the declared range.
class CTextSpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    CTextSpinBox(int minValue, int maxValue, QWidget* parent = nullptr);
    int Minimum() const { return min_; }
    int Maximum() const { return max_; }
    // Shows a text as it is (a model value), without telling anyone.
    void SetText(const QString& text);
    void stepBy(int steps) override;
    // Wide enough for the largest value.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void textEditedByUser(const QString& text);

protected:
    StepEnabled stepEnabled() const override;

private:
    int min_;
    int max_;
};

// A widget a page brings itself (a chart, a picture, a bit matrix), made by name. It shows
// the control's text value through its "value" property.
using CustomWidgetFactory = std::function<QWidget*(rtu::CPageBase& page, const rtu::FieldDecl& field, QWidget* parent)>;
void RegisterCustomWidget(const QString& name, CustomWidgetFactory make);

namespace pagewidgets {

// Makes the widget of one control; `changed` is called after a user edit reached the model
// (with whether the page has to act on it at once, like a box that sends its line).
QWidget* Make(rtu::CPageBase& page, const rtu::FieldDecl& f, QWidget* parent,
              const std::function<void(bool act)>& changed);
// Shows the model's value of a control in its widget.
void Apply(const rtu::CPageBase& page, const rtu::FieldDecl& f, QWidget* w);

}  // namespace pagewidgets
