#include "app/widgets/ConnectionControls.h"

#include "app/widgets/ActionHint.h"
#include "app/widgets/AnimateStrip.h"
#include "app/widgets/FrameActions.h"
#include "link/Connection.h"

#include <QHash>
#include <QIcon>
#include <QStatusBar>
#include <QTimer>

namespace {
// Each lamp picture is read once: the lamp changes picture at every blink.
QIcon ledIcon(int image)
{
    static QHash<int, QIcon> icons;
    auto it = icons.find(image);
    if (it == icons.end())
        it = icons.insert(image, QIcon(QStringLiteral(":/resources/led%1.png").arg(image)));
    return it.value();
}
} // namespace

ConnectionControls::ConnectionControls(Connection &connection, FrameActions &actions, AnimateStrip &animation,
                                       QAction *portMenu, QStatusBar *statusBar, QObject *parent)
    : QObject(parent)
    , connection_(connection)
    , actions_(actions)
    , animation_(animation)
    , portMenu_(portMenu)
    , statusBar_(statusBar)
{
    connect(&connection_, &Connection::indicatorsChanged, this, &ConnectionControls::present);
    connect(actions_.led, &QAction::triggered, this, [this] {
        // The lamp's mark is the connection's, not the click's.
        actions_.led->setChecked(connection_.ledMarked());
        connection_.OnLine1Click();
    });
    connect(actions_.led, &QAction::toggled, this, &ConnectionControls::onLampToggled);
}

// Assistive technology presses a checkable button with its one action,
// Toggle, which flips the lamp without a click. A flip that no click
// followed is set back and becomes the click it stands for, once the caller
// has its answer (the click may open a dialog).
void ConnectionControls::onLampToggled(bool checked)
{
    if (checked == connection_.ledMarked())
        return;
    QTimer::singleShot(0, this, [this] {
        QAction *led = actions_.led;
        if (led->isChecked() == connection_.ledMarked())
            return;
        led->setChecked(connection_.ledMarked());
        led->trigger();
    });
}

void ConnectionControls::present()
{
    const Connection &c = connection_;
    QAction *led = actions_.led;
    // Any change of a toolbar action lays the toolbar out again: only a new
    // picture is set.
    if (c.ledImage() != shownLedImage_) {
        shownLedImage_ = c.ledImage();
        led->setIcon(ledIcon(shownLedImage_));
    }
    led->setText(c.ledHint());
    // The mouse resting on the lamp keeps its hint up; it follows the lamp.
    if (led->statusTip() != c.ledHint() && !statusBar_->currentMessage().isEmpty()
        && statusBar_->currentMessage() == led->statusTip())
        statusBar_->showMessage(c.ledHint());
    ActionHint::apply(led, c.ledHint());
    led->setChecked(c.ledMarked());
    // This runs at every blink of the lamp: a name or description set
    // again unchanged would still be announced to assistive technology.
    if (QWidget *button = actions_.ToolBar1->widgetForAction(led)) {
        if (button->accessibleName() != c.ledHint())
            button->setAccessibleName(c.ledHint());
        if (button->accessibleDescription() != c.ledHint())
            button->setAccessibleDescription(c.ledHint());
    }
    actions_.OnLine1->setText(c.onLineCaption());
    animation_.setRunning(c.animateRunning());
    animation_.setToolTip(c.animateHint());
    if (animation_.accessibleDescription() != c.animateHint())
        animation_.setAccessibleDescription(c.animateHint());
    portMenu_->setEnabled(c.portMenuEnabled());
}
