#include "Scope.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "CliError.h"
#include "PendingFile.h"

namespace cli {
namespace {

constexpr int kPanelWidth = 600;
constexpr int kHeight = 720;
constexpr double kScopeSize = 400.0;
constexpr double kScopeTop = 70.0;
constexpr double kPlotTop = 500.0;
constexpr double kPlotHeight = 180.0;
constexpr double kFloorDb = -60.0;

struct MidSide {
  std::vector<float> mid, side;
};

MidSide toMidSide(const Audio& audio) {
  MidSide ms;
  const std::vector<float>& l = audio.channels.at(0);
  const std::vector<float>& r = audio.channels.size() > 1 ? audio.channels[1] : l;
  ms.mid.resize(l.size());
  ms.side.resize(l.size());
  for (size_t i = 0; i < l.size(); ++i) {
    ms.mid[i] = static_cast<float>((static_cast<double>(l[i]) + r[i]) * 0.5);
    ms.side[i] = static_cast<float>((static_cast<double>(l[i]) - r[i]) * 0.5);
  }
  return ms;
}

double peakOf(const MidSide& ms) {
  double peak = 0.0;
  for (size_t i = 0; i < ms.mid.size(); ++i)
    peak = std::max({peak, std::fabs(static_cast<double>(ms.mid[i])),
                     std::fabs(static_cast<double>(ms.side[i]))});
  return peak;
}

void text(cairo_t* cr, double x, double y, const std::string& words, double size) {
  cairo_set_font_size(cr, size);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, words.c_str());
}

void drawVectorscope(cairo_t* cr, const MidSide& ms, double left, double scale) {
  const double radius = kScopeSize / 2;
  const double cx = left + kPanelWidth / 2.0;
  const double cy = kScopeTop + radius;
  cairo_set_source_rgb(cr, 0.08, 0.09, 0.11);
  cairo_rectangle(cr, cx - radius, cy - radius, kScopeSize, kScopeSize);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.3, 0.32, 0.36);
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, cx - radius, cy);
  cairo_line_to(cr, cx + radius, cy);
  cairo_move_to(cr, cx, cy - radius);
  cairo_line_to(cr, cx, cy + radius);
  // Diagonals: where a left-only or right-only signal lies.
  cairo_move_to(cr, cx - radius, cy - radius);
  cairo_line_to(cr, cx + radius, cy + radius);
  cairo_move_to(cr, cx + radius, cy - radius);
  cairo_line_to(cr, cx - radius, cy + radius);
  cairo_stroke(cr);
  text(cr, cx + 4, cy - radius + 14, "M", 12);
  text(cr, cx - radius + 4, cy - 4, "+S", 12);
  text(cr, cx + radius - 18, cy - 4, "-S", 12);
  text(cr, cx - radius + 4, cy - radius + 14, "L", 12);
  text(cr, cx + radius - 12, cy - radius + 14, "R", 12);

  const size_t frames = ms.mid.size();
  const size_t step = std::max<size_t>(1, frames / 60000);
  cairo_set_source_rgba(cr, 0.35, 0.9, 0.55, 0.35);
  for (size_t i = 0; i < frames; i += step) {
    // Side across, mid up; a plain left signal lands on the upper-left diagonal.
    const double x = cx - ms.side[i] * scale * radius;
    const double y = cy - ms.mid[i] * scale * radius;
    cairo_rectangle(cr, x, y, 1.5, 1.5);
  }
  cairo_fill(cr);
}

void drawLevels(cairo_t* cr, const MidSide& ms, double left, double seconds) {
  const double width = kPanelWidth - 80.0;
  const double x0 = left + 50.0;
  cairo_set_source_rgb(cr, 0.08, 0.09, 0.11);
  cairo_rectangle(cr, x0, kPlotTop, width, kPlotHeight);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.3, 0.32, 0.36);
  cairo_set_line_width(cr, 1.0);
  for (double db = 0.0; db >= kFloorDb; db -= 20.0) {
    const double y = kPlotTop + kPlotHeight * (db / kFloorDb);
    cairo_move_to(cr, x0, y);
    cairo_line_to(cr, x0 + width, y);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.75, 0.75, 0.78);
    text(cr, left + 8, y + 4, std::to_string(static_cast<int>(db)) + " dB", 10);
    cairo_set_source_rgb(cr, 0.3, 0.32, 0.36);
  }
  cairo_set_source_rgb(cr, 0.75, 0.75, 0.78);
  char seconds_text[32];
  std::snprintf(seconds_text, sizeof seconds_text, "%.2f s", seconds);
  text(cr, x0 + width - 40, kPlotTop + kPlotHeight + 14, seconds_text, 10);
  text(cr, x0, kPlotTop + kPlotHeight + 14, "0 s", 10);

  const size_t frames = ms.mid.size();
  const int columns = static_cast<int>(width);
  const std::pair<const std::vector<float>*, std::array<double, 3>> series[] = {
      {&ms.mid, {0.4, 0.7, 1.0}}, {&ms.side, {1.0, 0.6, 0.25}}};
  for (const auto& [signal, colour] : series) {
    cairo_set_source_rgb(cr, colour[0], colour[1], colour[2]);
    cairo_set_line_width(cr, 1.5);
    for (int column = 0; column < columns && frames > 0; ++column) {
      const size_t begin = frames * static_cast<size_t>(column) / static_cast<size_t>(columns);
      const size_t end =
          std::max(begin + 1, frames * static_cast<size_t>(column + 1) / static_cast<size_t>(columns));
      double sum = 0.0;
      for (size_t i = begin; i < end && i < frames; ++i) sum += static_cast<double>((*signal)[i]) * (*signal)[i];
      const double rms = std::sqrt(sum / static_cast<double>(end - begin));
      const double db = rms > 0.0 ? std::max(kFloorDb, 20.0 * std::log10(rms)) : kFloorDb;
      const double y = kPlotTop + kPlotHeight * std::min(1.0, db / kFloorDb);
      if (column == 0)
        cairo_move_to(cr, x0 + column, y);
      else
        cairo_line_to(cr, x0 + column, y);
    }
    cairo_stroke(cr);
  }
  cairo_set_source_rgb(cr, 0.4, 0.7, 1.0);
  text(cr, x0 + 4, kPlotTop - 6, "mid RMS", 11);
  cairo_set_source_rgb(cr, 1.0, 0.6, 0.25);
  text(cr, x0 + 70, kPlotTop - 6, "side RMS", 11);
}

}  // namespace

void drawScope(const std::string& path, const Audio& input, const Audio& output,
               const std::string& title) {
  PendingFile pending(path);
  const MidSide before = toMidSide(input);
  const MidSide after = toMidSide(output);
  const double peak = std::max(peakOf(before), peakOf(after));
  const double scale = peak > 0.0 ? 0.95 / peak : 1.0;

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2 * kPanelWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.16, 0.17, 0.2);
  cairo_paint(cr);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_source_rgb(cr, 0.95, 0.95, 0.97);
  text(cr, 20, 30, title, 16);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  const std::pair<const MidSide*, const Audio*> panels[] = {{&before, &input}, {&after, &output}};
  for (int panel = 0; panel < 2; ++panel) {
    const double left = panel * kPanelWidth;
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.97);
    text(cr, left + kPanelWidth / 2.0 - 20, kScopeTop - 8, panel == 0 ? "input" : "output", 14);
    drawVectorscope(cr, *panels[panel].first, left, scale);
    const Audio& audio = *panels[panel].second;
    drawLevels(cr, *panels[panel].first, left,
               static_cast<double>(audio.frames()) / std::max(1, audio.sampleRate));
  }
  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(surface, pending.temporaryPath().c_str());
  cairo_surface_destroy(surface);
  // Frees cairo's and fontconfig's caches, which a leak checker would otherwise
  // report at exit; the next picture rebuilds them.
  cairo_debug_reset_static_data();
  FcFini();
  if (status != CAIRO_STATUS_SUCCESS)
    throw CliError(path + ": cannot write picture (" + cairo_status_to_string(status) + ")");
  pending.commit();
}

}  // namespace cli
