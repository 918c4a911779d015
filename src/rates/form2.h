#pragma once

#include "shell/services/widgets.h"

#include <array>
#include <cstddef>

class QLineEdit;

namespace varnek {

class WindowHub;

// "Elle Ayarla": four rate boxes, each saved to and read from its own rate file, and pasted at one
// stroke into both conversion windows. The boxes are its only state.
class Form2 final : public NoCancelDialog {
    Q_OBJECT

public:
    explicit Form2(WindowHub &hub);

private:
    void save(std::size_t row);
    void read(std::size_t row);
    void paste();
    QString currencyName(std::size_t row) const;

    WindowHub &m_hub;
    std::array<QLineEdit *, 4> m_boxes{};
};

} // namespace varnek
