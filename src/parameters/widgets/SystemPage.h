#pragma once

#include "directory/DirectoryContext.h"
#include "parameters/ParameterControls.h"

#include <QFileDialog>
#include <QWidget>
#include <functional>
#include <memory>

class ParameterBinder;
class ParameterWidgetFactory;

// The parameter page (system, "SystemControls"): the group "Operating
// Parameters" with the tabs Setting, Options, RelayCodes, SpeedDial # and
// Set PIN, the Messages group, and the Read All and Write All buttons. Every
// control is bound to the page's ParameterControls; the buttons run the read
// and write procedures, Open and Save As of the File menu run the parameter
// file procedures.
class SystemPage : public QWidget
{
    Q_OBJECT
public:
    explicit SystemPage(DirectoryContext &ctx, QWidget *parent = nullptr);
    ~SystemPage() override;

    // File Open on this page: choose a file; when it loads, show its values.
    void openParameterFile();
    // File Save As on this page: collect the values, choose a name, save.
    void saveAsParameterFile();
    // New hides the no-answer ring time and its label.
    void hideNoAnswerRingTime();
    // Logged on: the buttons and the "Set PIN" tab follow.
    void setOnline(bool online);

    ParameterControls &controls() { return model_; }

    // Asks for a file name for Open (AcceptOpen) or Save As (AcceptSave);
    // empty when cancelled. Defaults to the page's file dialogs.
    using FileChooser = std::function<QString(QFileDialog::AcceptMode)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

signals:
    // A read left values worth saving: the main window enables Save As.
    void saveAsOffered();

private:
    QWidget *buildParametersGroup();
    QWidget *buildSettingTab();
    QWidget *buildOptionsTab();
    QWidget *buildCodesTab();
    QWidget *buildSpeedDialTab();
    QWidget *buildPinTab();
    QWidget *buildMessagesGroup();
    void runHandler(const char *handler);

    DirectoryContext &ctx_;
    ParameterControls model_;
    ParameterBinder *binder_;
    std::unique_ptr<ParameterWidgetFactory> make_;
    FileChooser chooseFile_;
};
