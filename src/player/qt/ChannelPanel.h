#pragma once

#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <array>

#include "player/PlayerState.h"
#include "player/qt/ClickLabel.h"
#include "player/qt/ColourButton.h"
#include "player/qt/MeterFrame.h"

namespace vornel {

// The channel panel: for MIDI channels 9..16 a row of name (Label6), meter
// (Picture2 with ProgressBar2) and on/off switch (Cmd_DisCh); below them the
// "Tempo Modify" label (Label1), the tempo scroll bar (HScroll1) and the
// meters switch (Command1); under them the master volume's label, scroll bar
// and value.
class ChannelPanel final : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 248;
    static constexpr int kHeight = 196;

    explicit ChannelPanel(QWidget* parent = nullptr);

    void sync(const PlayerState& state);

    QLabel& name(int row) { return *names_[static_cast<std::size_t>(row)]; }
    MeterFrame& meter(int row) { return *meters_[static_cast<std::size_t>(row)]; }
    ColourButton& channelSwitch(int row) { return *switches_[static_cast<std::size_t>(row)]; }
    ClickLabel& tempoLabel() { return *tempoLabel_; }
    QScrollBar& tempo() { return *tempo_; }
    QLabel& tempoReadout() { return *tempoReadout_; }
    // The coloured frame around the scroll bar while it holds the focus.
    QWidget& tempoFocusFrame() { return *tempoFocus_; }
    ColourButton& metersSwitch() { return *metersSwitch_; }
    ClickLabel& masterLabel() { return *masterLabel_; }
    QScrollBar& master() { return *master_; }

signals:
    void switchClicked(int row);
    void metersSwitchClicked();
    void tempoLabelClicked();
    void tempoChanged(int value);   // a new value: keys, clicks, the end of a drag
    void tempoScrolled(int value);  // the thumb moves while dragged
    void masterLabelClicked();
    void masterChanged(int value);  // as tempoChanged

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 8> names_{};
    std::array<MeterFrame*, 8> meters_{};
    std::array<ColourButton*, 8> switches_{};
    ClickLabel* tempoLabel_;
    QWidget* tempoFocus_;
    QScrollBar* tempo_;
    QLabel* tempoReadout_;
    ColourButton* metersSwitch_;
    ClickLabel* masterLabel_;
    QWidget* masterFocus_;
    QScrollBar* master_;
    QLabel* masterReadout_;
};

}  // namespace vornel
