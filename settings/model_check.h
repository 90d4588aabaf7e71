// Asking a listed unit its model again, as the settings menu does before a
// group opens and the command line before it reads a unit.
#pragma once

// One model query to unit i (port 10001 on a WiFi module, else the unit's
// controller port): 0 answered (its model and rotary switch are in the
// table), -1 refused (model 7, or the rotary switch at F), else an errno value.
int modelcheck2(int i);

enum class ModelCheck { Known, Refused, NoAnswer };

// Up to five queries 50 ms apart until the unit's model is known; a refusal
// ends them. on_answer, when given, runs after each query the unit answered.
// A failed query keeps a model read earlier, which then counts as known.
ModelCheck check_model(int i, void (*on_answer)());
