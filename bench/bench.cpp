// Reading speed against the floor: libyaml parsing the same text into events
// with nothing kept.  Prints the best of several runs and ratios, one line
// per measure.  Usage: brindle_bench [FILE...]
//
// brindle_bench --floor FILE: the floor alone, for bench.py, which takes its
// samples between its own runs: one parse of the file's text per line read
// from standard input, its time in milliseconds written as one line.
#include <yaml.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_cases.hpp"
#include "models/document.hpp"

namespace {

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Best time of `runs` calls, in seconds.
double best_of(int runs, const std::function<void()>& f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void libyaml_floor(const std::string& text) {
    yaml_parser_t p;
    yaml_parser_initialize(&p);
    yaml_parser_set_input_string(&p, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    yaml_event_t ev;
    for (;;) {
        if (!yaml_parser_parse(&p, &ev)) break;
        bool end = ev.type == YAML_STREAM_END_EVENT;
        yaml_event_delete(&ev);
        if (end) break;
    }
    yaml_parser_delete(&p);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files(argv + 1, argv + argc);
    if (!files.empty() && files[0] == "--floor") {
        if (files.size() != 2) {
            std::fprintf(stderr, "usage: brindle_bench --floor FILE\n");
            return 2;
        }
        std::string text = file_text(files[1]);
        for (std::string line; std::getline(std::cin, line);) {
            std::printf("%.6f\n", best_of(1, [&] { libyaml_floor(text); }) * 1e3);
            std::fflush(stdout);
        }
        return 0;
    }
    if (files.empty()) files = brindle::bench::default_files();
    for (const auto& path : files) {
        std::string text = file_text(path);
        int runs = text.size() > 4'000'000 ? 5 : 20;
        double floor = best_of(runs, [&] { libyaml_floor(text); });
        std::printf("%s (%zu bytes)\n", path.c_str(), text.size());
        std::printf("  %-28s %9.3f ms\n", "libyaml events (floor)", floor * 1e3);
        // The document's events walked as a reader walks them, nothing kept.
        double events = best_of(runs, [&] {
            brindle::models::Document d(text);
            brindle::models::ReadCounters counters;
            brindle::models::Cursor c(d, counters);
            c.skip_node();
        });
        std::printf("  %-28s %9.3f ms  %5.2fx floor\n", "events walked", events * 1e3, events / floor);
        std::map<std::string, double> times;
        for (const auto& m : brindle::bench::measures()) {
            std::function<void()> work;
            try {
                work = m.prepare(text);
                work();
            } catch (const std::exception& e) {
                std::printf("  %-28s (not this kind of file: %s)\n", m.name, e.what());
                continue;
            }
            double t = best_of(runs, work);
            times[m.name] = t;
            std::printf("  %-28s %9.3f ms  %5.2fx floor", m.name, t * 1e3, t / floor);
            if (m.compare_to && times.count(m.compare_to))
                std::printf("  %5.2fx %s", t / times[m.compare_to], m.compare_to);
            std::printf("\n");
        }
    }
    return 0;
}
