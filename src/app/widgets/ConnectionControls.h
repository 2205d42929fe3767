#pragma once

#include <QObject>

class AnimateStrip;
class Connection;
class FrameActions;
class QAction;
class QStatusBar;

// Shows the connection on the window's controls: the lamp `led` (picture,
// hint, mark), the caption of OnLine1, the animation `Animate1` and whether
// the Port menu can be used. A click on the lamp is a click on OnLine1.
class ConnectionControls : public QObject
{
    Q_OBJECT
public:
    // portMenu: the Port menu's own action; statusBar: where the lamp's hint
    // shows while the mouse rests on it.
    ConnectionControls(Connection &connection, FrameActions &actions, AnimateStrip &animation, QAction *portMenu,
                       QStatusBar *statusBar, QObject *parent = nullptr);

    // Shows the connection as it stands; follows it from then on.
    void present();

private:
    void onLampToggled(bool checked);

    Connection &connection_;
    FrameActions &actions_;
    AnimateStrip &animation_;
    QAction *portMenu_;
    QStatusBar *statusBar_;
    int shownLedImage_ = -1; // the lamp's picture on show
};
