#pragma once
// The progress window of the long walks (clearing the log, the award rebuild, the contest files,
// ADIF and the callbook exchange), and the walk that shows it.

#include "widgets/TForm.h"

class DataSource;
class QProgressBar;

class TFProgres : public TForm {
    Q_OBJECT
public:
    explicit TFProgres(QWidget* parent = nullptr);

    QProgressBar* GaugeMain;
    QProgressBar* GaugeDop;

    // A gauge's new position, repainted at once (without running the event loop) when the
    // percentage it shows changes.
    void setGauge(QProgressBar* gauge, int value);
    void setGaugeMaximum(QProgressBar* gauge, int maximum);

    // Shows the window for a walk and waits, taking no user input and at most a fifth of a
    // second, until the window system has exposed it, then paints it: a walk that never returns
    // to the event loop would otherwise run under a window nobody sees drawn.
    void showPainted();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    friend class ProgressWalk;
    bool walking_ = false; // a close then comes only from the walk's end
};

extern TFProgres* FProgres;

// One long walk on the GUI thread under the progress window. Starting it shows the progress
// window with GaugeMain's maximum, then hides `hide` and detaches `detach` (both optional);
// ending it, also by an error, attaches the source again, shows the hidden window, resets the
// gauges and closes the progress window. The walk never runs the event loop, so no other window
// can change a dataset under it; the gauges repaint themselves.
class ProgressWalk {
public:
    struct Options {
        QWidget* hide = nullptr;      // the main window, for the walks that hide it
        DataSource* detach = nullptr; // the log's data source, for the walks over the log
    };
    ProgressWalk(int mainMaximum, Options options);
    ~ProgressWalk();
    ProgressWalk(const ProgressWalk&) = delete;
    ProgressWalk& operator=(const ProgressWalk&) = delete;

    void setMain(int value);
    void stepMain(int by = 1);
    void setDop(int value, int maximum);

private:
    Options options_;
    bool hidden_ = false; // what the walk changed is what its end restores
    bool detached_ = false;
    int main_ = 0;
};
