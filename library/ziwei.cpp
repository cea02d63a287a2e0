// The C library over the answers of api/: each call decodes its parameters,
// asks for the answer and hands it over in a heap object the caller frees.
// Nothing is kept between calls, and no exception leaves a function.
#include "ziwei/ziwei.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "api/answer.h"
#include "api/query.h"

struct ziwei_answer {
  ziwei_status status = ZIWEI_OK;
  std::string text;
  std::string type;
  std::string message;
  std::vector<std::string> more;
  std::string stopped;
};

namespace {

using ziwei::api::Operation;

constexpr ziwei_status statusOf(ziwei::api::Outcome outcome) {
  switch (outcome) {
    case ziwei::api::Outcome::Done:
      return ZIWEI_OK;
    case ziwei::api::Outcome::Refused:
      return ZIWEI_REFUSED;
    case ziwei::api::Outcome::Failed:
      break;
  }
  return ZIWEI_FAILED;
}

bool knownOperation(ziwei_operation operation) {
  const auto number = static_cast<unsigned>(operation);
  return number < ziwei::api::kOperationNames.size();
}

// The answer of a fault of the library itself, in the form of the others.
ziwei_answer* failure() {
  auto made = std::make_unique<ziwei_answer>();
  made->status = ZIWEI_FAILED;
  made->message = "internal error";
  made->type = "application/json";
  made->text = ziwei::api::errorDocument(made->message);
  return made.release();
}

ziwei_status keep(ziwei::api::Answer made, ziwei_answer** answer) {
  auto result = std::make_unique<ziwei_answer>();
  result->status = statusOf(made.outcome);
  result->text = std::move(made.body);
  result->type = made.contentType;
  result->message = std::move(made.message);
  result->more = std::move(made.more);
  result->stopped = made.stopped;
  *answer = result.release();
  return (*answer)->status;
}

ziwei_status performDecoded(ziwei_operation operation, std::string_view query,
                            ziwei_answer** answer) {
  return keep(ziwei::api::answerQuery(static_cast<Operation>(operation), query), answer);
}

// Runs `work` and turns what it throws into a status: no exception crosses
// into C.
template <typename Work>
ziwei_status guarded(ziwei_answer** answer, Work&& work) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return ZIWEI_NO_MEMORY;
  } catch (...) {
  }
  // Whatever else was thrown is a fault of the library; it gets an answer
  // when one can still be made.
  try {
    *answer = failure();
    return ZIWEI_FAILED;
  } catch (...) {
    return ZIWEI_NO_MEMORY;
  }
}

const char* text(const std::string* held) { return held != nullptr ? held->c_str() : ""; }

}  // namespace

extern "C" {

ziwei_status ziwei_call(ziwei_operation operation, const char* query, ziwei_answer** answer) {
  if (answer == nullptr) return ZIWEI_BAD_ARGUMENT;
  *answer = nullptr;
  if (query == nullptr || !knownOperation(operation)) return ZIWEI_BAD_ARGUMENT;
  return guarded(answer, [&] { return performDecoded(operation, query, answer); });
}

ziwei_status ziwei_call_pairs(ziwei_operation operation, const char* const* keys,
                              const char* const* values, size_t count, ziwei_answer** answer) {
  if (answer == nullptr) return ZIWEI_BAD_ARGUMENT;
  *answer = nullptr;
  if (!knownOperation(operation)) return ZIWEI_BAD_ARGUMENT;
  if (count > 0 && (keys == nullptr || values == nullptr)) return ZIWEI_BAD_ARGUMENT;
  for (size_t i = 0; i < count; ++i) {
    if (keys[i] == nullptr || values[i] == nullptr) return ZIWEI_BAD_ARGUMENT;
  }
  return guarded(answer, [&] {
    // The pairs are held to the rules of a decoded query (UTF-8, a key
    // without control characters, the most parameters), with its messages.
    ziwei::api::Parameters parameters;
    parameters.reserve(count);
    for (size_t i = 0; i < count; ++i) parameters.push_back({keys[i], values[i]});
    return performDecoded(operation, ziwei::api::encodeQuery(parameters), answer);
  });
}

ziwei_status ziwei_answer_status(const ziwei_answer* answer) {
  return answer != nullptr ? answer->status : ZIWEI_BAD_ARGUMENT;
}

const char* ziwei_answer_text(const ziwei_answer* answer) {
  return text(answer != nullptr ? &answer->text : nullptr);
}

size_t ziwei_answer_size(const ziwei_answer* answer) {
  return answer != nullptr ? answer->text.size() : 0;
}

const char* ziwei_answer_type(const ziwei_answer* answer) {
  return text(answer != nullptr ? &answer->type : nullptr);
}

const char* ziwei_answer_message(const ziwei_answer* answer) {
  return text(answer != nullptr ? &answer->message : nullptr);
}

size_t ziwei_answer_more_count(const ziwei_answer* answer) {
  return answer != nullptr ? answer->more.size() : 0;
}

const char* ziwei_answer_more(const ziwei_answer* answer, size_t index) {
  if (answer == nullptr || index >= answer->more.size()) return nullptr;
  return answer->more[index].c_str();
}

const char* ziwei_answer_stopped(const ziwei_answer* answer) {
  return text(answer != nullptr ? &answer->stopped : nullptr);
}

void ziwei_answer_free(ziwei_answer* answer) { delete answer; }

const char* ziwei_status_text(ziwei_status status) {
  switch (status) {
    case ZIWEI_OK:
      return "ok";
    case ZIWEI_REFUSED:
      return "refused: a parameter was wrong";
    case ZIWEI_FAILED:
      return "failed: the answer could not be made";
    case ZIWEI_NO_MEMORY:
      return "no memory";
    case ZIWEI_BAD_ARGUMENT:
      return "bad argument: a null pointer or an unknown operation";
  }
  return "unknown status";
}

const char* ziwei_version(void) { return ZIWEI_VERSION; }

}  // extern "C"
