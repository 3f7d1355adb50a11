#include "runner/unified_diff.h"

#include <algorithm>
#include <vector>

namespace {

using Lines = std::vector<std::string_view>;

// Beyond this many removed and added lines the shortest edit is not sought:
// its search takes time and memory that grow with the square of it.
constexpr int kMaxEdits = 1000;

Lines SplitLines(std::string_view text) {
    Lines lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

enum class Op : char { kSame = ' ', kRemove = '-', kAdd = '+' };

// The shortest edit of a into b as operations in order, or nothing when it
// takes more than kMaxEdits. The state of every round is kept for the way
// back: round d keeps the furthest x of the diagonals -d..d.
std::vector<Op> ShortestEdit(const Lines& a, const Lines& b) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int limit = std::min(n + m, kMaxEdits);
    std::vector<int> v(static_cast<std::size_t>(2 * limit + 3), 0);
    const auto at = [&v, limit](int k) -> int& { return v[static_cast<std::size_t>(k + limit + 1)]; };
    std::vector<std::vector<int>> rounds;
    int found = -1;
    for (int d = 0; d <= limit && found < 0; ++d) {
        rounds.emplace_back(v.begin() + limit + 1 - d, v.begin() + limit + 2 + d);
        for (int k = -d; k <= d; k += 2) {
            int x = k == -d || (k != d && at(k - 1) < at(k + 1)) ? at(k + 1) : at(k - 1) + 1;
            int y = x - k;
            while (x < n && y < m && a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)]) ++x, ++y;
            at(k) = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0) return {};

    std::vector<Op> ops;
    int x = n, y = m;
    for (int d = found; d >= 0; --d) {
        const std::vector<int>& round = rounds[static_cast<std::size_t>(d)];
        const auto before = [&round, d](int k) { return round[static_cast<std::size_t>(k + d)]; };
        const int k = x - y;
        const int previousK = k == -d || (k != d && before(k - 1) < before(k + 1)) ? k + 1 : k - 1;
        const int previousX = d == 0 ? 0 : before(previousK);
        const int previousY = d == 0 ? 0 : previousX - previousK;
        for (; x > previousX && y > previousY; --x, --y) ops.push_back(Op::kSame);
        if (d > 0) ops.push_back(x == previousX ? Op::kAdd : Op::kRemove);
        x = previousX;
        y = previousY;
    }
    std::reverse(ops.begin(), ops.end());
    return ops;
}

// Every line of a against b: the equal first and last lines, and between
// them the shortest edit, or all of a's removed and all of b's added.
std::vector<Op> Edit(const Lines& a, const Lines& b) {
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
    const Lines middleA(a.begin() + static_cast<long>(head), a.end() - static_cast<long>(tail));
    const Lines middleB(b.begin() + static_cast<long>(head), b.end() - static_cast<long>(tail));

    std::vector<Op> ops(head, Op::kSame);
    std::vector<Op> middle = ShortestEdit(middleA, middleB);
    if (middle.empty()) {
        middle.assign(middleA.size(), Op::kRemove);
        middle.insert(middle.end(), middleB.size(), Op::kAdd);
    }
    ops.insert(ops.end(), middle.begin(), middle.end());
    ops.insert(ops.end(), tail, Op::kSame);
    return ops;
}

// "start,count" of a hunk's side, as diff writes it: the count left out when
// 1; an empty side names the line before it.
std::string Range(std::size_t first, std::size_t count) {
    if (count == 1) return std::to_string(first + 1);
    return std::to_string(count == 0 ? first : first + 1) + "," + std::to_string(count);
}

void PutLine(std::string& out, char mark, std::string_view line) {
    out += mark;
    out += line;
    if (!line.ends_with('\n')) out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::string CUnifiedDiff::Make(std::string_view expected, std::string_view actual, std::string_view expectedName,
                               std::string_view actualName) {
    if (expected == actual) return {};
    const Lines a = SplitLines(expected);
    const Lines b = SplitLines(actual);
    const std::vector<Op> ops = Edit(a, b);

    std::string out = "--- " + std::string(expectedName) + "\n+++ " + std::string(actualName) + "\n";
    // Line positions in a and b before each operation.
    std::vector<std::size_t> posA(ops.size() + 1), posB(ops.size() + 1);
    for (std::size_t i = 0; i < ops.size(); ++i) {
        posA[i + 1] = posA[i] + (ops[i] != Op::kAdd);
        posB[i + 1] = posB[i] + (ops[i] != Op::kRemove);
    }
    const std::size_t context = kContext;
    std::size_t i = 0;
    while (i < ops.size()) {
        if (ops[i] == Op::kSame) {
            ++i;
            continue;
        }
        // A hunk: from kContext lines before this change to kContext lines
        // after the last change that is at most 2 * kContext lines away.
        const std::size_t begin = i > context ? i - context : 0;
        std::size_t end = i;
        for (std::size_t same = 0; end < ops.size() && same <= 2 * context; ++end)
            same = ops[end] == Op::kSame ? same + 1 : 0;
        while (end > i && ops[end - 1] == Op::kSame) --end;
        end = std::min(ops.size(), end + context);
        out += "@@ -" + Range(posA[begin], posA[end] - posA[begin]) + " +" + Range(posB[begin], posB[end] - posB[begin]) +
               " @@\n";
        for (std::size_t j = begin; j < end; ++j) {
            const std::string_view line = ops[j] == Op::kAdd ? b[posB[j]] : a[posA[j]];
            PutLine(out, static_cast<char>(ops[j]), line);
        }
        i = end;
    }
    return out;
}
