#include "files/TextDataset.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>
#include <span>
#include <utility>

#include "engine/Errors.h"
#include "files/FileAccess.h"

namespace {

constexpr int kPreviewLines = 8;
constexpr std::size_t kPreviewWidth = 200;
constexpr std::size_t kQuotedFieldLimit = 64;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The next line from pos, without its end (CR LF, LF or a lone CR).
std::string_view nextLine(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    pos = end;
    if (pos < text.size())
        pos += text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    return text.substr(start, end - start);
}

// The fields of one line, each trimmed and unquoted.
class FieldSplitter {
public:
    FieldSplitter(std::string_view line, char separator) : rest_(line), separator_(separator)
    {
        if (separator_ == ' ')
            rest_ = trimBlanks(rest_);
    }

    bool next(std::string_view& field)
    {
        if (done_)
            return false;
        std::size_t at;
        if (separator_ == ' ') {
            at = 0;
            while (at < rest_.size() && !isBlank(rest_[at]))
                ++at;
        } else {
            at = rest_.find(separator_);
        }
        if (at == std::string_view::npos || at >= rest_.size()) {
            field = rest_;
            done_ = true;
        } else {
            field = rest_.substr(0, at);
            rest_.remove_prefix(at + 1);
            if (separator_ == ' ')
                rest_ = trimBlanks(rest_);
        }
        field = trimBlanks(field);
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
            field = trimBlanks(field.substr(1, field.size() - 2));
        return true;
    }

private:
    std::string_view rest_;
    char separator_;
    bool done_ = false;
};

// The separator of ',' and ';' that the line holds more of; runs of blanks
// (spaces and tabs) when it holds neither. Tab-separated text is blank-separated
// text, and blanks inside a tab-separated line (aligned columns) do no harm.
char detectSeparator(std::string_view line)
{
    std::size_t commas = 0, semicolons = 0;
    for (char c : line) {
        commas += c == ',';
        semicolons += c == ';';
    }
    if (commas == 0 && semicolons == 0)
        return ' ';
    return semicolons > commas ? ';' : ',';
}

// A number in the program's text form: optional sign, digits with at most one
// point, optional exponent; the double nearest to it. Values too small for a
// double are 0; values too large are not numbers.
bool parseNumber(std::string_view field, double& value)
{
    std::string_view s = field;
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    std::size_t first = !s.empty() && s.front() == '-' ? 1 : 0;
    if (first >= s.size() || !((s[first] >= '0' && s[first] <= '9') || s[first] == '.'))
        return false;
    if (s.front() == '-' && field.front() == '+')
        return false;
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (ptr != end)
        return false;
    if (ec == std::errc())
        return true;
    if (ec != std::errc::result_out_of_range)
        return false;
    long double wide = 0;
    auto [widePtr, wideEc] = std::from_chars(s.data(), end, wide);
    if (widePtr != end || wideEc != std::errc() || std::fabs(wide) >= 1)
        return false;
    value = s.front() == '-' ? -0.0 : 0.0;
    return true;
}

std::string notANumber(std::string_view field)
{
    std::string shown(field.substr(0, kQuotedFieldLimit));
    if (field.size() > kQuotedFieldLimit)
        shown += "...";
    return ConversionError::floatingPoint(shown).what();
}

std::string lineColumn(long long line, long long column)
{
    return "Line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

std::vector<std::string> previewLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size() && lines.size() < kPreviewLines)
        lines.emplace_back(nextLine(text, pos).substr(0, kPreviewWidth));
    return lines;
}

}  // namespace

bool ParseTextTable(std::string_view text, TTextTable& table, std::string& reason)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        reason = "The file is UTF-16 text; save it as UTF-8 or plain text";
        return false;
    }
    try {
        TTextTable result;
        result.FirstLines = previewLines(text);
        bool first = true;
        long long lineNumber = 0, firstDataLine = 0;
        std::size_t pos = 0;
        std::vector<std::string_view> fields;
        while (pos < text.size()) {
            std::string_view line = nextLine(text, pos);
            ++lineNumber;
            if (trimBlanks(line).empty())
                continue;
            if (first)
                result.Separator = detectSeparator(line);
            fields.clear();
            FieldSplitter splitter(line, result.Separator);
            for (std::string_view field; splitter.next(field);)
                fields.push_back(field);

            if (first) {
                first = false;
                double ignored;
                bool allNumbers = true;
                for (std::string_view field : fields)
                    allNumbers = allNumbers && parseNumber(field, ignored);
                if (!allNumbers) {
                    for (std::string_view field : fields)
                        result.ColumnNames.emplace_back(field);
                    continue;
                }
            }
            if (result.RowCount == 0) {
                result.ColumnCount = int(fields.size());
                firstDataLine = lineNumber;
            }
            for (std::size_t c = 0; c < fields.size(); ++c) {
                if (c >= std::size_t(result.ColumnCount)) {
                    reason = lineColumn(lineNumber, c + 1) + "line " + std::to_string(firstDataLine) + " has only "
                        + std::to_string(result.ColumnCount) + " values";
                    return false;
                }
                double value;
                if (!parseNumber(fields[c], value)) {
                    reason = lineColumn(lineNumber, c + 1) + notANumber(fields[c]);
                    return false;
                }
                result.Values.push_back(value);
            }
            if (fields.size() < std::size_t(result.ColumnCount)) {
                reason = lineColumn(lineNumber, fields.size() + 1) + "missing value; line "
                    + std::to_string(firstDataLine) + " has " + std::to_string(result.ColumnCount) + " values";
                return false;
            }
            ++result.RowCount;
        }
        if (result.RowCount == 0) {
            reason = "The file holds no values";
            return false;
        }
        if (result.ColumnCount < 2) {
            reason = "Every line holds one value; a dataset needs at least one input and one output column";
            return false;
        }
        table = std::move(result);
        return true;
    } catch (const std::bad_alloc&) {
        reason = "Not enough memory for the dataset";
        return false;
    }
}

bool ReadTextTable(const std::string& fileName, TTextTable& table, std::string& error)
{
    TReadableFile file;
    std::string reason;
    if (!file.Open(fileName, reason)) {
        error = FileErrorMessage("open", fileName, reason);
        return false;
    }
    if (file.Size() > kMaxTextDatasetSize) {
        error = FileErrorMessage("import", fileName, "The file is larger than 256 MiB");
        return false;
    }
    std::vector<std::uint8_t> bytes(file.Size());
    if (!file.ReadAt(0, bytes, reason)) {
        error = FileErrorMessage("read", fileName, reason);
        return false;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ParseTextTable(text, table, reason)) {
        error = FileErrorMessage("import", fileName, reason);
        return false;
    }
    return true;
}

bool SplitTextTable(const TTextTable& table, int outputColumns, TMatrix& inputs, TMatrix& outputs)
{
    const int inputColumns = table.ColumnCount - outputColumns;
    if (outputColumns < 1 || inputColumns < 1)
        return false;
    TMatrix in, out;
    if (!in.SetSize(table.RowCount, inputColumns) || !out.SetSize(table.RowCount, outputColumns))
        return false;
    const double* row = table.Values.data();
    for (int p = 0; p < table.RowCount; ++p, row += table.ColumnCount) {
        for (int c = 0; c < inputColumns; ++c)
            in.SetItem(p, c, row[c]);
        for (int c = 0; c < outputColumns; ++c)
            out.SetItem(p, c, row[inputColumns + c]);
    }
    std::swap(inputs, in);
    std::swap(outputs, out);
    return true;
}

bool FormatTextDataset(const TMatrix& inputs, const TMatrix& outputs, std::string& text, std::string& reason)
{
    if (inputs.Rows() != outputs.Rows()) {
        reason = "The inputs hold " + std::to_string(inputs.Rows()) + " pairs and the outputs "
            + std::to_string(outputs.Rows());
        return false;
    }
    try {
        std::string out;
        out.reserve(std::size_t(inputs.Rows()) * std::size_t(inputs.Cols() + outputs.Cols()) * 12 + 64);
        for (int c = 0; c < inputs.Cols(); ++c)
            out += (c ? ",x" : "x") + std::to_string(c + 1);
        for (int c = 0; c < outputs.Cols(); ++c)
            out += (c || inputs.Cols() ? ",y" : "y") + std::to_string(c + 1);
        out += '\n';
        char digits[32];
        for (int p = 0; p < inputs.Rows(); ++p) {
            bool firstValue = true;
            for (const TMatrix* matrix : {&inputs, &outputs}) {
                for (int c = 0; c < matrix->Cols(); ++c) {
                    const double value = static_cast<double>(matrix->GetItem(p, c));
                    if (!std::isfinite(value)) {
                        reason = std::string(matrix == &inputs ? "Input " : "Output ") + std::to_string(c + 1)
                            + " of pair " + std::to_string(p + 1)
                            + (std::isfinite(matrix->GetItem(p, c)) ? " lies outside the range of a double"
                                                                    : " is not a finite number");
                        return false;
                    }
                    if (!firstValue)
                        out += ',';
                    firstValue = false;
                    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
                }
            }
            out += '\n';
        }
        text = std::move(out);
        return true;
    } catch (const std::bad_alloc&) {
        reason = "Not enough memory for the dataset";
        return false;
    }
}

bool WriteTextDataset(const std::string& fileName, const TMatrix& inputs, const TMatrix& outputs, std::string& error)
{
    std::string text, reason;
    if (!FormatTextDataset(inputs, outputs, text, reason)) {
        error = FileErrorMessage("create", fileName, reason);
        return false;
    }
    return WriteFileAtomically(fileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                               error);
}
