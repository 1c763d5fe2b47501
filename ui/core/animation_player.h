#pragma once

#include <cstdint>
#include <functional>

#include "tasks/weak_callback_flag.h"

namespace ui {

// Runs a value from a start to an end over a duration, easing in and out,
// stepped by a repeating timer of the UI timer service. Playing forward moves
// the current value towards the end, backward towards the start, each in the
// share of the duration that the remaining distance needs.
class AnimationPlayer {
 public:
  using StepCallback = std::function<void(int value)>;
  using CompleteCallback = std::function<void()>;

  AnimationPlayer(int start, int end, int duration_ms);
  ~AnimationPlayer();
  AnimationPlayer(const AnimationPlayer&) = delete;
  AnimationPlayer& operator=(const AnimationPlayer&) = delete;

  void SetStepCallback(StepCallback callback) { step_ = std::move(callback); }
  // Called once when a run reaches its target (not when stopped).
  void SetCompleteCallback(CompleteCallback callback) { complete_ = std::move(callback); }

  void Play(bool forward);
  void Stop();
  bool IsPlaying() const { return playing_; }
  bool IsForward() const { return forward_; }
  int CurrentValue() const { return current_; }
  void SetCurrentValue(int value) { current_ = value; }
  int StartValue() const { return start_; }
  int EndValue() const { return end_; }

  // Moves the animation to the time `now_ns` (performance counter); the
  // timer calls it, and tests may too.
  void StepTo(int64_t now_ns);

  // The easing curve: 0 to 1 over 0 to 1, slow at both ends.
  static double Ease(double progress);

 private:
  const int start_;
  const int end_;
  const int duration_ms_;
  int current_;
  int from_ = 0;
  int target_ = 0;
  int64_t begin_ns_ = 0;
  int64_t run_ns_ = 0;
  bool playing_ = false;
  bool forward_ = true;
  StepCallback step_;
  CompleteCallback complete_;
  nbase::WeakCallbackFlag timer_flag_;
};

}  // namespace ui
