/* chart: calls the ziwei library as another program would, and prints what
 * it answers.
 *
 *   chart OPERATION [QUERY]               parameters as a query string
 *   chart --pairs OPERATION [KEY=VALUE]...  parameters one by one
 *
 * OPERATION is chart, lunar, solar, places or find. The answer goes to
 * standard output as it is; a refusal goes to standard error as the ziwei
 * command words it ("ziwei: MESSAGE" and the lines that follow it), with
 * exit status 2; any other failure exits with status 1. For example:
 *
 *   chart chart 'year=1984&month=4&day=20&hour=13&sex=female&lang=en'
 *   chart --pairs find 'where=命宮 has 紫微' from=2001-01-01 to=2001-01-31
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <ziwei/ziwei.h>

static const struct {
  const char* name;
  ziwei_operation operation;
} operations[] = {
    {"chart", ZIWEI_CHART},   {"lunar", ZIWEI_LUNAR}, {"solar", ZIWEI_SOLAR},
    {"places", ZIWEI_PLACES}, {"find", ZIWEI_FIND},
};

static int usage(void) {
  fputs("usage: chart [--pairs] chart|lunar|solar|places|find [QUERY | KEY=VALUE...]\n", stderr);
  return 64;
}

/* Calls the library with each argument split at its first "=". */
static ziwei_status call_pairs(ziwei_operation operation, int count, char** arguments,
                               ziwei_answer** answer) {
  const char** keys = malloc(sizeof *keys * (size_t)(count > 0 ? count : 1));
  const char** values = malloc(sizeof *values * (size_t)(count > 0 ? count : 1));
  ziwei_status status = ZIWEI_NO_MEMORY;
  int i;
  if (keys != NULL && values != NULL) {
    for (i = 0; i < count; ++i) {
      char* equals = strchr(arguments[i], '=');
      keys[i] = arguments[i];
      values[i] = "";
      if (equals != NULL) {
        *equals = '\0';
        values[i] = equals + 1;
      }
    }
    status = ziwei_call_pairs(operation, keys, values, (size_t)count, answer);
  }
  free(keys);
  free(values);
  return status;
}

int main(int argc, char** argv) {
  int next = 1;
  int pairs = 0;
  size_t i;
  const char* name;
  ziwei_operation operation = ZIWEI_CHART;
  ziwei_answer* answer = NULL;
  ziwei_status status;
  int exit_status = 0;

  if (next < argc && strcmp(argv[next], "--pairs") == 0) {
    pairs = 1;
    ++next;
  }
  if (next >= argc) return usage();
  name = argv[next++];
  for (i = 0; i < sizeof operations / sizeof operations[0]; ++i) {
    if (strcmp(name, operations[i].name) == 0) break;
  }
  if (i == sizeof operations / sizeof operations[0]) return usage();
  operation = operations[i].operation;

  if (pairs) {
    status = call_pairs(operation, argc - next, argv + next, &answer);
  } else {
    if (argc - next > 1) return usage();
    status = ziwei_call(operation, next < argc ? argv[next] : "", &answer);
  }

  switch (status) {
    case ZIWEI_OK:
      if (fwrite(ziwei_answer_text(answer), 1, ziwei_answer_size(answer), stdout) !=
              ziwei_answer_size(answer) ||
          fflush(stdout) != 0) {
        perror("chart: standard output");
        exit_status = 1;
      }
      break;
    case ZIWEI_REFUSED:
    case ZIWEI_FAILED:
      fprintf(stderr, "ziwei: %s\n", ziwei_answer_message(answer));
      for (i = 0; i < ziwei_answer_more_count(answer); ++i) {
        fprintf(stderr, "%s\n", ziwei_answer_more(answer, i));
      }
      exit_status = status == ZIWEI_REFUSED ? 2 : 1;
      break;
    default:
      fprintf(stderr, "chart: %s\n", ziwei_status_text(status));
      exit_status = 1;
      break;
  }
  ziwei_answer_free(answer);
  return exit_status;
}
