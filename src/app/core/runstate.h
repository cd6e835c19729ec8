#pragma once
// Values of the current run shared by the windows: the applied settings
// (read from belvor.ini, changed by the "Применить" buttons) and the user
// who works at the workstation.
#include <QString>

namespace zv {

// Applied indexes of one serial port (section "Set ComPort W" or "Set ComPort RFID").
struct PortValues {
    QString port;               // port name, "COM1", "/dev/ttyUSB0" ...
    int comPortIndex = 0;
    int baudRateIndex = 8;      // 19200
    int dataBitIndex = 3;       // 8 bits
    int parityIndex = 0;        // none
    int stopBitIndex = 0;       // 1
    int controlStreamIndex = 2; // none; kept, never applied to the port
};

struct SettingsValues {
    PortValues indicatorPort;
    PortValues rfidPort;
    int modeIndex = 0;          // 0 static, 1 dynamic
    QString modeText = QStringLiteral("Статический режим");
    int LimitWeight = 100;
    int LimitLoad = 0;
    int DecimalPoint = 0;       // digits after the point of the indicator's weights: 0 or 2
    QString Path1C;
    int IntervalActualTare = 60;
    int NumberDayView = 0;
    int PlatformScalesWidth = 600;
    int NumberPointIntegral = -1; // 5, 7, 9; -1 when integration is off
    int Coefficient = 5;          // trackbar position 0..10
    double KoffFactor = 1.0;      // 0.95 + 0.01 * Coefficient when used
    bool AutoMode = true;
};

// Groups of users.
inline const QString GroupAdministrator = QStringLiteral("Administrator");
inline const QString GroupOperator = QStringLiteral("Operator");
inline const QString GroupCreaterReport = QStringLiteral("CreaterReport");

struct RunValues {
    int CurrUserID = -1;     // -1 until a login succeeds
    QString CurrUserGroup;
};

SettingsValues &settings();
RunValues &run();

} // namespace zv
