#pragma once
// The lower layers' one way of reporting: success, or an error text that the
// windows can show. No exceptions across layers, no boolean plus out-value.
#include <QString>
#include <optional>
#include <utility>

namespace lexifol {

class [[nodiscard]] Status
{
public:
    Status() = default; // success
    static Status failure(QString reason)
    {
        Status s;
        s.error_ = std::move(reason);
        s.failed_ = true;
        return s;
    }
    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return error_; }

private:
    QString error_;
    bool failed_ = false;
};

// A value, or the error text of why there is none.
template<typename T> class [[nodiscard]] Result
{
public:
    Result(T value)
        : value_(std::move(value))
    { }
    Result(const Status& failed)
        : error_(failed.error())
    { }
    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const QString& error() const { return error_; }

private:
    std::optional<T> value_;
    QString error_;
};

} // namespace lexifol
