// The durable history at its size limit: fills a store in a temporary
// folder with realistic scripts (100,000 by default, --entries N), then
// measures what the window waits for or hands to a worker:
//   open, fill:   opening the full store and reading the newest 21 (at start)
//   store:        recording one more run (on the run's worker thread)
//   search:       the History dialog's search (on a worker), over queries
//                 from common words to one letter and a word no entry has
// Prints "bench: name=value" lines (milliseconds); the folder is removed.
#include "history/history_list.h"
#include "history/history_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A script as users write them: a few statements over a schema of some
// dozens of tables, with literals, comments and line breaks.
class CScriptMaker {
public:
    std::string Next() {
        static const char* const tables[] = {"orders", "order_lines", "customers", "employees", "products",
                                             "suppliers", "invoices", "payments", "shipments", "stock_levels",
                                             "regions", "price_history", "audit_log", "sales_targets"};
        static const char* const columns[] = {"id", "customer_id", "order_date", "amount", "status", "name",
                                              "region_id", "price", "quantity", "created_at", "email", "sku"};
        std::string script;
        const int statements = Pick(1, 6);
        for (int s = 0; s < statements; ++s) {
            const char* table = tables[Pick(0, std::size(tables) - 1)];
            const char* column = columns[Pick(0, std::size(columns) - 1)];
            const char* other = columns[Pick(0, std::size(columns) - 1)];
            switch (Pick(0, 4)) {
            case 0:
                script += "select " + std::string(column) + ", " + other + ", count(*)\r\nfrom " + table +
                          "\r\nwhere " + column + " > " + std::to_string(Pick(0, 99999)) + "\r\ngroup by " + column +
                          ", " + other + "\r\norder by 3 desc;\r\n";
                break;
            case 1:
                script += "update " + std::string(table) + " set " + column + " = '" + Word() + "' where id = " +
                          std::to_string(Pick(1, 1000000)) + ";\r\n";
                break;
            case 2:
                script += "-- " + Word() + " " + Word() + " check for " + Word() + "\r\nselect * from " + table +
                          " t join " + tables[Pick(0, std::size(tables) - 1)] + " u on u.id = t." + column + ";\r\n";
                break;
            case 3:
                script += "insert into " + std::string(table) + "(" + column + ", " + other + ") values ('" + Word() +
                          "', " + std::to_string(Pick(0, 5000)) + ");\r\n";
                break;
            default:
                script += "delete from " + std::string(table) + " where " + column + " is null;\r\n";
            }
        }
        return script;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

private:
    // Made-up words, so the index holds many distinct terms as real data does.
    std::string Word() {
        std::string word;
        for (int n = Pick(3, 9); n > 0; --n) word += static_cast<char>('a' + Pick(0, 25));
        return word;
    }

    std::mt19937 m_random{20240611};
};

void Print(const char* name, double value) { std::printf("bench: %s=%.3f\n", name, value); }

// Median and worst of the samples, printed as name_median and name_worst.
void PrintSpread(const std::string& name, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    Print((name + "_median_ms").c_str(), samples[samples.size() / 2]);
    Print((name + "_worst_ms").c_str(), samples.back());
}

}  // namespace

int main(int argc, char** argv) {
    int entries = 100000;
    if (argc == 3 && std::strcmp(argv[1], "--entries") == 0) entries = std::atoi(argv[2]);
    if (entries < 1) {
        std::fprintf(stderr, "usage: bench_history [--entries N]\n");
        return 2;
    }
    char pattern[] = "/tmp/tarnwell-history-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("bench_history: mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    const std::string path = folder + "/history.sqlite";
    CScriptMaker maker;
    std::vector<double> stores;
    {
        CHistoryStore store(path, entries);
        const auto filling = Clock::now();
        for (int i = 0; i < entries; ++i) {
            const auto started = Clock::now();
            store.Record(HistoryRecord{.script = maker.Next(), .dataSource = i % 3 ? "Sales" : "Warehouse",
                                       .userName = i % 2 ? "ann" : "bob", .statements = 3, .elapsedMs = 120});
            // The cost of one entry once the store is full: what each run pays.
            if (i >= entries - 1000) stores.push_back(MsSince(started));
        }
        Print("setup_seconds", MsSince(filling) / 1000);
    }
    Print("entries", entries);
    Print("file_mb", static_cast<double>(fs::file_size(path)) / (1024 * 1024));

    const auto opening = Clock::now();
    CHistoryStore store(path, entries);
    Print("open_ms", MsSince(opening));
    const auto filling = Clock::now();
    CHistoryList list;
    store.Fill(list);
    Print("fill_list_ms", MsSince(filling));
    for (int i = 0; i < 200; ++i) {   // at the limit: each entry also drops the oldest
        const auto started = Clock::now();
        store.Record(HistoryRecord{.script = maker.Next(), .dataSource = "Sales", .userName = "ann"});
        stores.push_back(MsSince(started));
    }
    PrintSpread("store", stores);

    const char* const queries[] = {"orders",           "select customer_id", "s",     "Warehouse bob",
                                   "price_history amount", "zzzzzz",         "update stock_levels where",
                                   "\"quoted\" (NEAR",  "or",                 "id"};
    std::vector<double> searches;
    std::size_t found = 0;
    for (int round = 0; round < 5; ++round) {
        for (const char* query : queries) {
            const auto started = Clock::now();
            found += store.Search(query).size();
            searches.push_back(MsSince(started));
        }
    }
    PrintSpread("search", searches);
    Print("search_found", static_cast<double>(found) / 5);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
