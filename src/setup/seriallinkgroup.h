#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QPushButton;

// The serial side of the connection panel: the port and speed to open and the
// button that opens them. Both choices are stored as they change and again at
// exit. No Q_OBJECT: it has no signals of its own, and the window's layout and
// style sheet see a plain group box; its texts name their context themselves.
class SerialLinkGroup : public QGroupBox
{
public:
    explicit SerialLinkGroup(QWidget *parent);
    ~SerialLinkGroup() override;

    // The stored choices, or the first port. The field for a typed port joins
    // the Tab order when this is called: the panel calls it last.
    void fillLists();
    // The panel gives it the same texts as the network side's button.
    QPushButton *connectButton() const;
    QString portName() const;
    QString baud() const;
    // While the port is open its name and speed stay as they are.
    void showOpen(bool open);
    void retranslateUi();

private:
    QLabel *m_comLabel = nullptr;
    QComboBox *m_portList = nullptr;
    QLabel *m_baudLabel = nullptr;
    QComboBox *m_baudList = nullptr;
    QPushButton *m_connectButton = nullptr;
};
