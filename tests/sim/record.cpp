#include "record.h"

namespace sim {

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code < 0x80) {
            narrow += static_cast<char>(code);
        } else if (code < 0x800) {
            narrow += static_cast<char>(0xC0 | (code >> 6));
            narrow += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            narrow += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
            narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            narrow += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return narrow;
}

namespace {

void Print(const Value& value, std::ostream& out) {
    if (const std::int64_t* number = value.Number()) {
        out << *number;
    } else if (const std::wstring* text = value.Text()) {
        out << '"' << Narrow(*text) << '"';
    } else {
        out << "null";
    }
}

void PrintList(const std::vector<Value>& values, std::ostream& out) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        out << (i == 0 ? "" : ", ");
        Print(values[i], out);
    }
}

}  // namespace

void PrintTo(const Value& value, std::ostream* out) {
    Print(value, *out);
}

void PrintTo(const Call& call, std::ostream* out) {
    *out << Narrow(call.name) << '(';
    PrintList(call.arguments, *out);
    *out << ") -> ";
    if (call.failure) {
        *out << "failure " << *call.failure;
    } else {
        Print(call.result, *out);
    }
    if (!call.written.empty()) {
        *out << ", wrote ";
        PrintList(call.written, *out);
    }
    *out << " at " << call.at;
}

std::vector<std::wstring> CallLog::Names() const {
    std::vector<std::wstring> names;
    for (const Call& call : calls_) {
        names.push_back(call.name);
    }
    return names;
}

std::vector<Call> CallLog::Of(const std::wstring& name) const {
    std::vector<Call> found;
    for (const Call& call : calls_) {
        if (call.name == name) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<Value> CallLog::Argument(const std::wstring& name, std::size_t index) const {
    std::vector<Value> values;
    for (const Call& call : calls_) {
        if (call.name == name && index < call.arguments.size()) {
            values.push_back(call.arguments[index]);
        }
    }
    return values;
}

}  // namespace sim
