// Anchor: a minimal GTK 3 window showing one label. Prints
// "first-frame <monotonic ns> <peak resident kB>" after its first frame is painted and the X
// server has it.
#include <gtk/gtk.h>
#include <time.h>

#include <cstdio>

#include "bench/display/peak_memory.h"

namespace {

void AfterPaint(GdkFrameClock* clock, gpointer window) {
  gdk_display_sync(gtk_widget_get_display(GTK_WIDGET(window)));
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  std::printf("first-frame %lld %ld\n", static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec, PeakResidentKb());
  std::fflush(stdout);
  g_signal_handlers_disconnect_by_func(clock, reinterpret_cast<gpointer>(&AfterPaint), window);
  gtk_main_quit();
}

void Realized(GtkWidget* window, gpointer) {
  GdkFrameClock* clock = gdk_window_get_frame_clock(gtk_widget_get_window(window));
  g_signal_connect(clock, "after-paint", G_CALLBACK(AfterPaint), window);
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 628, 428);
  gtk_container_add(GTK_CONTAINER(window), gtk_label_new("Verimo图片转换器"));
  g_signal_connect(window, "realize", G_CALLBACK(Realized), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
