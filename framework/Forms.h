#pragma once
// The form base: a top-level window built from its layout in the Qt
// resource system. Construction creates every component of the layout by
// class name, sets its properties, and binds each event to the form's
// handler slot of the name the layout gives, e.g.
//   public Q_SLOTS: void btnPlayClick(QObject* Sender);
// Every handler runs under the application's exception guard.
#include "framework/Anchors.h"
#include "framework/Controls.h"
#include "framework/Exception.h"
#include "framework/FocusFrame.h"
#include "framework/Graphics.h"

#include <QPointer>
#include <QString>
#include <vector>

class QCloseEvent;
class QPaintEvent;
class QResizeEvent;
class QShowEvent;

class TForm : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
public:
    // formClass: the meta-object of the form class being built, whose slots
    // are the handlers. Raises Exception when the layout is missing or broken.
    TForm(QObject* owner, const QMetaObject& formClass, const QString& layoutPath);

    QObject* Owner() const { return owner_; }

    // The component the layout names, of class T; raises Exception when the
    // layout has none.
    template <class T>
    T* Component(const char* name)
    {
        T* component = qobject_cast<T*>(FindComponent(name));
        if (component == nullptr)
            throw Exception(std::string("Form ") + objectName().toStdString() + " has no component " + name +
                            " of class " + T::staticMetaObject.className());
        return component;
    }
    QObject* FindComponent(const char* name) const;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The outer frame, as the window system places it.
    int Left() const { return frameGeometry().left(); }
    int Top() const { return frameGeometry().top(); }
    int Width() const { return frameGeometry().width(); }
    int Height() const { return frameGeometry().height(); }
    void SetLeft(int left) { move(left, Top()); }
    void SetTop(int top) { move(Left(), top); }
    void SetHeight(int height);
    bool Visible() const { return isVisible(); }
    void Show();
    void Hide() { hide(); }
    // Moves the window inside the available area of its screen (shrinking
    // it only where it is larger), so that all of it can be seen. Every
    // show does this first.
    void MakeFullyVisible();

    AnchorLayout& Anchors() { return anchors_; }
    // The windowed controls in the order Tab moves through them.
    void SetTabOrder(std::vector<QWidget*> controls);

    // The start of the form's destruction: hides it and raises OnDestroy,
    // before any field or component of the form is released.
    void BeforeDestruction();

Q_SIGNALS:
    void OnShow();
    void OnDestroy();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The next control after (or before) from that can take the focus by Tab.
    QWidget* NextInTabOrder(QWidget* from, bool forward) const;

    QObject* owner_;
    TColor color_ = clBtnFace;
    AnchorLayout anchors_;
    std::vector<QPointer<QWidget>> tabOrder_;
    FocusFrame focusFrame_{this};
};

// Destroys a form the way the application does: BeforeDestruction first.
struct TFormDeleter {
    void operator()(TForm* form) const;
};
