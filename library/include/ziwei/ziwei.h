/* The ziwei library: casts a Zi Wei Dou Shu chart, converts calendar dates,
 * looks up places and searches births, for programs in C and in any language
 * that calls C.
 *
 * Each call takes an operation and its parameters, either as a query string
 * ("year=1984&month=4&day=20&hour=13&sex=female", decoded as a URL's query)
 * or as key/value pairs, and gives back an answer: the bytes the `ziwei`
 * command writes for the same options (JSON by default), or a refusal with the
 * command's message. The parameters are the options of the command without
 * their "--": chart takes the cast's (name, sex, year, month, leap, day, hour,
 * minute, second, solar, tz, dst, longitude, place, late-zi, on, on-time,
 * on-lunar, on-leap, lang, print-date, format and the rule options); lunar
 * takes date; solar takes year, month, day and leap; places takes q and
 * limit; find takes from, to, sex, hours, where (repeated), limit, format and
 * the rule options. A flag (leap, on-leap) is set by "", "1", "true", "yes"
 * or "on"; an empty value of any other parameter counts as not given.
 *
 * The library keeps no state between calls: any number of threads may call
 * it at once. No call keeps a pointer it was given. */
#ifndef ZIWEI_ZIWEI_H
#define ZIWEI_ZIWEI_H

#include <stddef.h>

#if defined(ZIWEI_BUILDING_LIBRARY)
#define ZIWEI_API __attribute__((visibility("default")))
#else
#define ZIWEI_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum ziwei_operation {
  ZIWEI_CHART = 0,  /* the chart: JSON, or format=html|text|markdown|study */
  ZIWEI_LUNAR = 1,  /* the lunar date of a Gregorian date, JSON */
  ZIWEI_SOLAR = 2,  /* the Gregorian date of a lunar date, JSON */
  ZIWEI_PLACES = 3, /* places of the gazetteer, JSON */
  ZIWEI_FIND = 4    /* births whose chart meets conditions, JSON Lines */
} ziwei_operation;

typedef enum ziwei_status {
  ZIWEI_OK = 0,          /* the answer holds the output */
  ZIWEI_REFUSED = 1,     /* a parameter was wrong: the answer's message says which */
  ZIWEI_FAILED = 2,      /* the output could not be made: a fault of the library */
  ZIWEI_NO_MEMORY = 3,   /* memory ran out; no answer */
  ZIWEI_BAD_ARGUMENT = 4 /* a null pointer or an unknown operation; no answer */
} ziwei_status;

/* What a call gives back; read it with the ziwei_answer_ functions and free
 * it with ziwei_answer_free. An answer may be read from several threads at
 * once. The ziwei_answer_ functions take NULL too and give "", 0 or
 * ZIWEI_BAD_ARGUMENT for it. */
typedef struct ziwei_answer ziwei_answer;

/* Performs `operation` with the parameters of `query`, a URL query string
 * ("+" a blank, "%XX" a byte). Sets *answer to a new answer when the status
 * is ZIWEI_OK, ZIWEI_REFUSED or ZIWEI_FAILED, and to NULL otherwise. */
ZIWEI_API ziwei_status ziwei_call(ziwei_operation operation, const char* query,
                                  ziwei_answer** answer);

/* The same with `count` parameters given one by one: keys[i] = values[i],
 * UTF-8, in the order given (repeat a key for a repeated option). keys and
 * values may be NULL when count is 0. */
ZIWEI_API ziwei_status ziwei_call_pairs(ziwei_operation operation, const char* const* keys,
                                        const char* const* values, size_t count,
                                        ziwei_answer** answer);

/* The status of the call that made the answer (ZIWEI_OK, ZIWEI_REFUSED or
 * ZIWEI_FAILED). */
ZIWEI_API ziwei_status ziwei_answer_status(const ziwei_answer* answer);

/* The output, ziwei_answer_size bytes followed by a NUL: the JSON document
 * (for find, one JSON line per match), or the page or text the format asks.
 * For a refusal or a failure, the document {"error":"MESSAGE"} and a line
 * feed. */
ZIWEI_API const char* ziwei_answer_text(const ziwei_answer* answer);
ZIWEI_API size_t ziwei_answer_size(const ziwei_answer* answer);

/* The media type of the text: "application/json", "text/html; charset=utf-8",
 * ... */
ZIWEI_API const char* ziwei_answer_type(const ziwei_answer* answer);

/* The refusal or failure as the ziwei command words it, one line without
 * "ziwei: " before it; "" when the status is ZIWEI_OK. Some refusals have
 * lines that follow the message (the candidates of an ambiguous place):
 * ziwei_answer_more_count of them, each given by ziwei_answer_more (NULL for
 * an index past the last). */
ZIWEI_API const char* ziwei_answer_message(const ziwei_answer* answer);
ZIWEI_API size_t ziwei_answer_more_count(const ziwei_answer* answer);
ZIWEI_API const char* ziwei_answer_more(const ziwei_answer* answer, size_t index);

/* For find: "limit" when the search stopped at the result limit, "" when it
 * searched its whole range. */
ZIWEI_API const char* ziwei_answer_stopped(const ziwei_answer* answer);

/* Frees an answer; NULL is allowed. */
ZIWEI_API void ziwei_answer_free(ziwei_answer* answer);

/* A status's name and meaning, e.g. "refused: a parameter was wrong". */
ZIWEI_API const char* ziwei_status_text(ziwei_status status);

/* The library's version, "MAJOR.MINOR.PATCH". */
ZIWEI_API const char* ziwei_version(void);

#ifdef __cplusplus
}
#endif

#endif /* ZIWEI_ZIWEI_H */
