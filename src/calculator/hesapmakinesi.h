#pragma once

#include "shell/services/widgets.h"

class QLineEdit;

namespace varnek {

class Services;
class WindowHub;

// "Hesap Makinesi": two numbers, four operations, the result in a third box. The boxes are its
// only state.
class hesapmakinesi final : public NoCancelDialog {
    Q_OBJECT

public:
    explicit hesapmakinesi(WindowHub &hub);

private:
    void calculate(double (*operation)(double, double));

    QLineEdit *m_first;
    QLineEdit *m_second;
    QLineEdit *m_result;
    // What an error calls the number boxes: their captions.
    QString m_firstName;
    QString m_secondName;
};

} // namespace varnek
