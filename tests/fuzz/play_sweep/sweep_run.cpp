#include "play_sweep/sweep_run.h"

#include <filesystem>
#include <sstream>

#include "driver.h"

namespace QuillmerePlaySweep {

RunReport PlayOnce(const PlayPlan& plan, unsigned workSeconds) {
    QuillmereE2E::Driver driver;
    driver.SetHeadless(true);
    driver.SetTimeLimit(workSeconds);
    // A saved game starts from the front page's load list, the one save of the run's folder.
    if (!plan.savePath.empty()) {
        const std::filesystem::path folder = std::filesystem::path(driver.Home()) / "Documents" / "Orvex Saved Games";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(plan.savePath, folder / "Wren.drav");
    }
    const QuillmereE2E::Observed run = driver.Execute(PlaySteps(plan));

    RunReport report;
    report.start = run.checks.count("start") ? run.checks.at("start") : "(never started)";
    report.end = run.checks.count("end") ? run.checks.at("end") : "(no end)";
    if (run.checks.count("turn")) report.turns = std::stoi(run.checks.at("turn"));
    for (int n = 1; run.checks.count("finding " + std::to_string(n)); ++n) {
        Finding finding;
        if (Decode(run.checks.at("finding " + std::to_string(n)), finding)) report.findings.push_back(finding);
    }
    // Boxes and the end are seen from outside the player, by the turn it had reached.
    for (const auto& box : run.boxes)
        report.findings.push_back({box.caption == "Save Error" || box.caption == "Load Error" ? "save" : "error",
                                   report.turns, "a box \"" + box.caption + "\": " + box.text});
    if (!run.exited) {
        std::string why = run.log.empty() ? "the program did not end" : run.log;
        while (!why.empty() && why.back() == '\n') why.pop_back();
        // A sanitizer says what it caught, and where, in its summary.
        const std::size_t summary = run.standardError.find("SUMMARY: ");
        if (summary != std::string::npos)
            why += ": " + run.standardError.substr(summary, run.standardError.find('\n', summary) - summary);
        report.findings.push_back({"error", report.turns, why});
    }
    if (plan.savePath.size() && report.start != "loaded")
        report.findings.push_back({"save", 0, "the saved game " + plan.savePath + " would not load: " + report.start});
    if (plan.savePath.empty() && report.start.rfind("made ", 0) != 0)
        report.findings.push_back({"error", 0, "the creation pages made no hero: " + report.start});
    return report;
}

std::string EncodeReport(const RunReport& report) {
    std::string text = std::to_string(report.turns) + "\n" + report.start + "\n" + report.end + "\n";
    for (const Finding& finding : report.findings) text += Encode(finding) + "\n";
    return text;
}

RunReport DecodeReport(const std::string& text) {
    RunReport report;
    std::istringstream in(text);
    std::string line;
    if (std::getline(in, line)) report.turns = std::atoi(line.c_str());
    std::getline(in, report.start);
    std::getline(in, report.end);
    while (std::getline(in, line)) {
        Finding finding;
        if (Decode(line, finding)) report.findings.push_back(finding);
    }
    return report;
}

}  // namespace QuillmerePlaySweep
