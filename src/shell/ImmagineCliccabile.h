#pragma once

#include <QLabel>

#include <functional>

namespace ondavia {

// A picture that does something when the user clicks anywhere on it.
class ImmagineCliccabile : public QLabel {
public:
    explicit ImmagineCliccabile(QWidget* parent = nullptr);

    void alClic(std::function<void()> azione) { m_azione = std::move(azione); }

protected:
    void mouseReleaseEvent(QMouseEvent* evento) override;

private:
    std::function<void()> m_azione;
};

} // namespace ondavia
