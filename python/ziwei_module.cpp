// The Python module `ziwei`: the answers of api/ as Python values. Keyword
// arguments are the parameters ("_" for "-"), JSON answers come back as
// json.loads reads them, and a refusal raises ValueError with the command
// line's message. The engine runs with the interpreter's lock released.
#include <pybind11/pybind11.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "api/answer.h"
#include "api/query.h"
#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "find/search.h"

namespace py = pybind11;

namespace {

using ziwei::api::Answer;
using ziwei::api::Operation;
using ziwei::api::Outcome;
using ziwei::api::Parameters;

// The parameter of a keyword: "late_zi" is "late-zi", and "from_" (as
// Python spells a keyword that is a word of the language) "from".
std::string keyOf(std::string_view keyword) {
  if (keyword.size() > 1 && keyword.back() == '_') keyword.remove_suffix(1);
  std::string key(keyword);
  for (char& c : key) {
    if (c == '_') c = '-';
  }
  return key;
}

// Adds `value` as the parameter `key`: a str as it is, an int or a float as
// Python writes it, a bool as "true" or "false", a date as YYYY-MM-DD, each
// item of a list or tuple as a repeat of the parameter; None adds nothing.
void addValue(Parameters& parameters, const std::string& key, py::handle value,
              std::string_view function, bool inList = false) {
  if (value.is_none()) return;
  if (py::isinstance<py::bool_>(value)) {
    parameters.push_back({key, value.cast<bool>() ? "true" : "false"});
  } else if (py::isinstance<py::str>(value)) {
    parameters.push_back({key, value.cast<std::string>()});
  } else if (py::isinstance<py::int_>(value) || py::isinstance<py::float_>(value)) {
    parameters.push_back({key, py::str(value).cast<std::string>()});
  } else if (!inList && (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value))) {
    for (py::handle item : value) addValue(parameters, key, item, function, true);
  } else {
    const py::module_ datetime = py::module_::import("datetime");
    if (py::isinstance(value, datetime.attr("date")) &&
        !py::isinstance(value, datetime.attr("datetime"))) {
      parameters.push_back({key, value.attr("isoformat")().cast<std::string>()});
      return;
    }
    throw py::type_error(std::string(function) + "(): " + key + " takes a str, int, float, bool" +
                         (inList ? "" : ", date, list or tuple") + ", not " +
                         py::str(py::type::handle_of(value).attr("__name__")).cast<std::string>());
  }
}

Parameters parametersOf(const py::kwargs& keywords, std::string_view function) {
  Parameters parameters;
  for (const auto& [keyword, value] : keywords) {
    addValue(parameters, keyOf(keyword.cast<std::string>()), value, function);
  }
  return parameters;
}

// The answer, asked for without the interpreter's lock.
Answer unlockedAnswer(Operation operation, const Parameters& parameters) {
  py::gil_scoped_release unlocked;
  return ziwei::api::answer(operation, parameters);
}

// A done answer as it is; a refusal raises ValueError (its `more` attribute
// the lines after the message, as a list), a failure RuntimeError.
Answer checked(Answer answer) {
  if (answer.outcome == Outcome::Done) return answer;
  if (answer.outcome == Outcome::Failed) throw std::runtime_error(answer.message);
  py::object error = py::reinterpret_steal<py::object>(
      PyObject_CallOneArg(PyExc_ValueError, py::str(answer.message).ptr()));
  if (!error) throw py::error_already_set();
  py::list more;
  for (const std::string& line : answer.more) more.append(py::str(line));
  error.attr("more") = more;
  PyErr_SetObject(PyExc_ValueError, error.ptr());
  throw py::error_already_set();
}

Answer answered(Operation operation, const Parameters& parameters) {
  return checked(unlockedAnswer(operation, parameters));
}

py::object jsonOf(std::string_view text) {
  return py::module_::import("json").attr("loads")(py::str(text.data(), text.size()));
}

// chart(**parameters): the chart's JSON as a dict, or with format= another
// than json the page or text as a str.
py::object chart(const py::kwargs& keywords) {
  const Parameters parameters = parametersOf(keywords, "chart");
  const Answer answer = answered(Operation::Chart, parameters);
  if (answer.contentType != "application/json") return py::str(answer.body);
  return jsonOf(answer.body);
}

py::object lunar(py::handle date) {
  Parameters parameters;
  addValue(parameters, "date", date, "lunar");
  return jsonOf(answered(Operation::Lunar, parameters).body);
}

py::object solar(py::handle year, py::handle month, py::handle day, py::handle leap) {
  Parameters parameters;
  addValue(parameters, "year", year, "solar");
  addValue(parameters, "month", month, "solar");
  addValue(parameters, "day", day, "solar");
  addValue(parameters, "leap", leap, "solar");
  return jsonOf(answered(Operation::Solar, parameters).body);
}

py::object places(py::handle query, py::handle limit) {
  Parameters parameters;
  addValue(parameters, "q", query, "places");
  addValue(parameters, "limit", limit, "places");
  return jsonOf(answered(Operation::Places, parameters).body);
}

// The matches of a search, a window of dates at a time: each window is one
// answer, searched when the matches of the one before are used up, so that
// a search of many years costs only what is read of it.
class Search {
 public:
  // The dates searched in one answer.
  static constexpr int kWindowDays = 366;

  explicit Search(Parameters parameters) : all_(std::move(parameters)) {
    std::string_view from;
    std::string_view to;
    std::string_view limit;
    for (const ziwei::api::Parameter& parameter : all_) {
      if (parameter.key == "from") {
        from = parameter.value;
      } else if (parameter.key == "to") {
        to = parameter.value;
      } else if (parameter.key == "limit") {
        limit = parameter.value;
      } else {
        others_.push_back(parameter);
      }
    }
    // Windows when the range and the limit read as find reads them; else
    // one answer of the parameters as given, which refuses what is wrong.
    const std::optional<std::chrono::sys_days> first = dayOf(from, ziwei::find::BirthRange{}.from);
    const std::optional<std::chrono::sys_days> last = dayOf(to, ziwei::find::BirthRange{}.to);
    const std::optional<std::uint64_t> most = limitOf(limit);
    if (first && last && *first <= *last && (limit.empty() || most)) {
      next_ = *first;
      last_ = *last;
      remaining_ = most;
      fetch();
      // A fault of the last date (one the range does not allow, or an hour
      // that falls off its end) is found now rather than after the others.
      if (more()) check(*last);
    } else {
      whole_ = true;
      fetch();
    }
  }

  py::object next() {
    if (busy_) throw std::runtime_error("find: the search is already being advanced");
    while (offset_ >= lines_.size()) {
      if (!more()) throw py::stop_iteration();
      fetch();
    }
    const std::size_t end = lines_.find('\n', offset_);
    const std::string_view line = std::string_view(lines_).substr(offset_, end - offset_);
    offset_ = end == std::string::npos ? lines_.size() : end + 1;
    return jsonOf(line);
  }

  // The last date searched so far, "YYYY-MM-DD".
  std::string searchedThrough() const {
    return ziwei::calendar::format_gregorian(
        ziwei::calendar::gregorian_from_days(std::min(next_, last_ + std::chrono::days{1}) -
                                             std::chrono::days{1}));
  }

 private:
  static std::optional<std::chrono::sys_days> dayOf(std::string_view text,
                                                    ziwei::calendar::GregorianDate fallback) {
    if (text.empty()) return ziwei::calendar::to_days(fallback);
    try {
      return ziwei::calendar::to_days(ziwei::calendar::parse_gregorian(text));
    } catch (const ziwei::calendar::CalendarError&) {
      return std::nullopt;
    }
  }

  // A limit of digits alone, 1 to 2147483647.
  static std::optional<std::uint64_t> limitOf(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value < 1 || value > 2147483647) return std::nullopt;
    return value;
  }

  bool more() const { return !whole_ && next_ <= last_ && (!remaining_ || *remaining_ > 0); }

  Parameters window(std::chrono::sys_days from, std::chrono::sys_days to,
                    std::optional<std::uint64_t> limit) const {
    Parameters parameters = others_;
    parameters.push_back(
        {"from", ziwei::calendar::format_gregorian(ziwei::calendar::gregorian_from_days(from))});
    parameters.push_back(
        {"to", ziwei::calendar::format_gregorian(ziwei::calendar::gregorian_from_days(to))});
    if (limit) parameters.push_back({"limit", std::to_string(*limit)});
    return parameters;
  }

  // The answer for a window. A window's refusal is worded for its own from
  // and to: the refusal raised is that of the parameters as given, the
  // command's.
  Answer windowAnswer(const Parameters& parameters) {
    Answer answer = unlockedAnswer(Operation::Find, parameters);
    if (answer.outcome != Outcome::Refused) return checked(std::move(answer));
    whole_ = true;
    return answered(Operation::Find, all_);
  }

  // The next window's matches in place of the last's.
  void fetch() {
    std::chrono::sys_days end = last_;
    busy_ = true;
    Answer answer;
    try {
      if (whole_) {
        answer = answered(Operation::Find, all_);
      } else {
        end = std::min(last_, next_ + std::chrono::days{kWindowDays - 1});
        answer = windowAnswer(window(next_, end, remaining_));
      }
    } catch (...) {
      busy_ = false;
      throw;
    }
    busy_ = false;
    lines_ = std::move(answer.body);
    offset_ = 0;
    next_ = end + std::chrono::days{1};
    if (remaining_) {
      const auto found = static_cast<std::uint64_t>(std::count(lines_.begin(), lines_.end(), '\n'));
      *remaining_ -= std::min(*remaining_, found);
    }
  }

  // Refuses now what the search would refuse on the day `day`.
  void check(std::chrono::sys_days day) {
    Answer answer = windowAnswer(window(day, day, 1));
    if (whole_) {
      lines_ = std::move(answer.body);
      offset_ = 0;
    }
  }

  Parameters all_;      // the parameters as given
  Parameters others_;   // all_ but from, to and limit
  bool whole_ = false;  // one answer of all_ rather than windows
  std::chrono::sys_days next_{};
  std::chrono::sys_days last_{};
  std::optional<std::uint64_t> remaining_;  // matches still wanted, when limited
  std::string lines_;                       // the matches of the window, one JSON line each
  std::size_t offset_ = 0;                  // the first not yet handed out
  bool busy_ = false;                       // a window is being searched
};

}  // namespace

PYBIND11_MODULE(ziwei, module) {
  module.doc() =
      "Zi Wei Dou Shu charts, calendar conversions, places and the search of births, as the\n"
      "ziwei command gives them. Keyword arguments are the command's options without '--'\n"
      "('_' for '-'); a wrong one raises ValueError with the command's message.";
  module.attr("__version__") = ZIWEI_VERSION;

  module.def("chart", &chart,
             "chart(**options) -> dict\n\n"
             "The chart as the JSON of `ziwei --format json` reads: name, sex, year, month,\n"
             "leap, day, hour, minute, second, solar, tz, dst, longitude, place, late_zi, on,\n"
             "on_time, on_lunar, on_leap, lang, print_date and the rule options (year_boundary,\n"
             "transformation=[...], ...). With format='html', 'text', 'markdown' or 'study'\n"
             "the page or text as a str.");
  module.def("lunar", &lunar, py::arg("date"),
             "lunar(date) -> dict\n\nThe lunar date of a Gregorian date 'YYYY-MM-DD' (or a\n"
             "datetime.date): {'solar', 'year', 'month', 'leap', 'day'}.");
  module.def("solar", &solar, py::arg("year"), py::arg("month"), py::arg("day"),
             py::arg("leap") = false,
             "solar(year, month, day, leap=False) -> dict\n\nThe Gregorian date of a lunar "
             "date, in the document lunar() gives.");
  module.def("places", &places, py::arg("q"), py::arg("limit") = py::none(),
             "places(q, limit=None) -> dict\n\nThe places of the gazetteer that fit q, for "
             "place=: {'places': [...], 'more': bool}.");

  py::class_<Search>(module, "Search", "The matches of find(), one dict each, in order.")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &Search::next)
      .def_property_readonly("searched_through", &Search::searchedThrough,
                             "The last date searched so far, 'YYYY-MM-DD'.");
  module.def(
      "find",
      [](const py::kwargs& keywords) {
        if (keywords.contains("format")) {
          throw py::type_error("find(): format is not taken: the matches are dicts");
        }
        return Search(parametersOf(keywords, "find"));
      },
      "find(where=[...], **options) -> iterator of dict\n\n"
      "The births whose chart meets every condition of where (a str or a list), as\n"
      "`ziwei find --format jsonl` lists them: from_ (for from), to, sex, hours, limit and\n"
      "the rule options. The range is searched a year at a time as the matches are read;\n"
      "a wrong option raises ValueError at once.");
}
