#pragma once

#include <QString>
#include <QStringView>

#include <exception>

namespace varnek {

// The five ways a handler can fail; each is reported to the user by name.
enum class ErrorKind { TypeMismatch, DivisionByZero, Overflow, FileNotFound, FileAccess };

QString errorKindText(ErrorKind kind);

// The second line for an error a box's text caused: the box as the user knows it, then its text
// quoted, cut short with "…" so that a long paste keeps the message small.
QString boxErrorDetail(QStringView boxName, QStringView text);

// Thrown at the failing step of a handler: what ran before it stays, nothing after it runs.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorKind kind, QString detail = {});

    ErrorKind kind() const noexcept { return m_kind; }
    // Optional second line for the report: which box or file was at fault.
    const QString &detail() const noexcept { return m_detail; }
    const char *what() const noexcept override;

private:
    ErrorKind m_kind;
    QString m_detail;
};

} // namespace varnek
