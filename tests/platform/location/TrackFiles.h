#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kelpa::platform {

// Where the test tracks walk: north along a meridian from here.
inline constexpr double kStartLatitude = 48.137;
inline constexpr double kStartLongitude = 11.575;
// Metres per degree of latitude on the sphere the distances are measured on.
inline constexpr double kMetresPerDegree = 6371008.8 * 3.14159265358979323846 / 180.0;

inline double latitudeAt(double metresNorth) { return kStartLatitude + metresNorth / kMetresPerDegree; }

// A GPX track whose points lie the given distances north of the start, one second apart.
inline std::filesystem::path writeWalk(const std::filesystem::path& file, const std::vector<double>& metresNorth) {
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n";
    for (size_t i = 0; i < metresNorth.size(); ++i) {
        out.precision(12);
        out << "<trkpt lat=\"" << latitudeAt(metresNorth[i]) << "\" lon=\"" << kStartLongitude << "\"><ele>"
            << 500 + i << "</ele><time>2024-06-05T08:00:" << (i < 10 ? "0" : "") << i << "Z</time></trkpt>\n";
    }
    out << "</trkseg></trk></gpx>\n";
    return file;
}

inline std::filesystem::path writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file) << text;
    return file;
}

}  // namespace kelpa::platform
