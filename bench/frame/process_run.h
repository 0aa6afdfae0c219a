// Starting a fresh copy of this program and reading what it prints, timed from just before the
// fork: the start-up and memory benchmarks measure whole processes.
#pragma once

#include <string>
#include <vector>

struct ProcessRun {
    double startMs = 0;  // steady clock, just before the fork
    std::string output;  // its standard output
    bool ok = false;     // it exited with status 0
};

// Runs this program again with `arguments`, with `environment` entries (NAME=value) added.
ProcessRun RunSelf(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment = {});

// The number after `key` in `output` ("key value" on a line of its own), or -1.
double Field(const std::string& output, const std::string& key);
