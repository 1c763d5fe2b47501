#include "ui/core/animation_player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/clock.h"
#include "tasks/timer_manager.h"

namespace ui {

namespace {

// The two inner points of the easing curve: a slow start and a slow end.
constexpr double kEaseIn = 0.3;
constexpr double kEaseOut = 0.7;

}  // namespace

AnimationPlayer::AnimationPlayer(int start, int end, int duration_ms)
    : start_(start), end_(end), duration_ms_(std::max(duration_ms, 1)), current_(start) {}

AnimationPlayer::~AnimationPlayer() = default;

double AnimationPlayer::Ease(double p) {
  p = std::clamp(p, 0.0, 1.0);
  const double q = 1.0 - p;
  return 3 * q * q * p * kEaseIn + 3 * q * p * p * kEaseOut + p * p * p;
}

void AnimationPlayer::Play(bool forward) {
  Stop();
  forward_ = forward;
  from_ = current_;
  target_ = forward ? end_ : start_;
  const int span = std::abs(end_ - start_);
  const int distance = std::abs(target_ - from_);
  if (distance == 0 || span == 0) {
    current_ = target_;
    if (step_) step_(current_);
    if (complete_) complete_();
    return;
  }
  run_ns_ = int64_t{duration_ms_} * 1000000 * distance / span;
  begin_ns_ = platform::PerformanceCounterNanos();
  playing_ = true;
  const int period_ms = std::max(duration_ms_ / span, 1);
  nbase::TimerManager::GetInstance()->AddTimer(
      timer_flag_.GetWeakFlag(), [this] { StepTo(platform::PerformanceCounterNanos()); }, static_cast<uint32_t>(period_ms), -1);
}

void AnimationPlayer::Stop() {
  timer_flag_.Cancel();
  playing_ = false;
}

void AnimationPlayer::StepTo(int64_t now_ns) {
  if (!playing_) return;
  const double progress = run_ns_ > 0 ? static_cast<double>(now_ns - begin_ns_) / run_ns_ : 1.0;
  const bool done = progress >= 1.0;
  current_ = done ? target_ : from_ + static_cast<int>(std::lround((target_ - from_) * Ease(progress)));
  if (done) Stop();
  // The callbacks may destroy this player's owner: touch nothing afterwards.
  StepCallback step = step_;
  CompleteCallback complete = done ? complete_ : nullptr;
  if (step) step(current_);
  if (complete) complete();
}

}  // namespace ui
