"""The Python module against the command line (ZIWEI_EXECUTABLE): the same
documents for the same options, the same messages for the same faults."""
import datetime
import itertools
import json
import os
import subprocess
import threading

import pytest

import ziwei

ZIWEI = os.environ["ZIWEI_EXECUTABLE"]


def command(*args):
    return subprocess.run([ZIWEI, *args], capture_output=True, text=True, check=False)


def command_json(*args):
    done = command(*args, "--format=json")
    assert done.returncode == 0, done.stderr
    return json.loads(done.stdout)


# Keyword arguments and the command's options for the same cast.
CASTS = [
    (dict(year=1984, month=4, day=20, hour=13, sex="female", on="2026-12-07", lang="zh-Hant"),
     ["--year=1984", "--month=4", "--day=20", "--hour=13", "--sex=female", "--on=2026-12-07",
      "--lang=zh-Hant"]),
    (dict(solar="1979-07-01", hour=10, minute=30, tz="Asia/Taipei", lang="en"),
     ["--solar=1979-07-01", "--hour=10", "--minute=30", "--tz=Asia/Taipei", "--lang=en"]),
    (dict(solar=datetime.date(2001, 6, 8), hour=23, minute=30, place="Taipei",
          late_zi="next-day", lang="zh-Hans"),
     ["--solar=2001-06-08", "--hour=23", "--minute=30", "--place=Taipei",
      "--late-zi=next-day", "--lang=zh-Hans"]),
    (dict(name="王小明", year=2001, month=4, leap=True, day=17, hour=5, year_boundary="spring",
          on_lunar="2030-1-15", on_time="12:30", transformation=["戊=貪狼,太陰,太陽,天機"]),
     ["--name=王小明", "--year=2001", "--month=4", "--leap", "--day=17", "--hour=5",
      "--year-boundary=spring", "--on-lunar=2030-1-15", "--on-time=12:30",
      "--transformation=戊=貪狼,太陰,太陽,天機"]),
    (dict(longitude=121.5, solar="1990-11-03", hour=7, leap=False, on_leap=None),
     ["--longitude=121.5", "--solar=1990-11-03", "--hour=7"]),
]


@pytest.mark.parametrize("keywords,options", CASTS)
def test_chart_is_the_commands_json(keywords, options):
    assert ziwei.chart(**keywords) == command_json(*options)


def test_chart_in_another_format_is_the_commands_text():
    done = command("--year=1990", "--format=markdown", "--lang=en")
    assert ziwei.chart(year=1990, format="markdown", lang="en") == done.stdout


@pytest.mark.parametrize("keywords,options", [
    (dict(month=13), ["--month=13"]),
    (dict(place="Suzhou"), ["--place=Suzhou"]),
    (dict(solar="2001-02-30"), ["--solar=2001-02-30"]),
    (dict(tz="Mars/Olympus"), ["--tz=Mars/Olympus"]),
    (dict(transformation=["戊=貪狼"]), ["--transformation=戊=貪狼"]),
])
def test_a_refusal_is_a_value_error_with_the_commands_message(keywords, options):
    done = command(*options, "--format=json")
    assert done.returncode == 2
    message, *more = done.stderr.rstrip("\n").split("\n")
    with pytest.raises(ValueError) as raised:
        ziwei.chart(**keywords)
    assert "ziwei: " + str(raised.value) == message
    assert raised.value.more == more


def test_unknown_keywords_and_values_of_no_parameter_are_refused():
    with pytest.raises(ValueError, match="unknown parameter"):
        ziwei.chart(colour="red")
    with pytest.raises(ValueError, match="unknown parameter"):
        ziwei.chart(rules="/etc/passwd")
    with pytest.raises(TypeError, match="year takes a str, int"):
        ziwei.chart(year={"n": 1984})
    with pytest.raises(TypeError):
        ziwei.chart(transformation=[["戊=貪狼,太陰,太陽,天機"]])


@pytest.mark.parametrize("date", ["2001-06-08", "1984-02-02", "2100-12-31"])
def test_lunar_and_solar_hold_the_commands_dates(date):
    done = command("lunar", date)
    solar, year, month, leap, day = done.stdout.split()
    document = dict(solar=solar, year=int(year), month=int(month), leap=leap == "1",
                    day=int(day))
    assert ziwei.lunar(date) == document
    assert ziwei.lunar(datetime.date.fromisoformat(date)) == document
    assert ziwei.solar(int(year), int(month), int(day), leap=leap == "1") == document
    assert command("solar", year, month, day, *(["--leap"] if leap == "1" else [])).stdout \
        == date + "\n"


def test_calendar_refusals():
    with pytest.raises(ValueError, match="2001-13-01"):
        ziwei.lunar("2001-13-01")
    done = command("solar", "2001", "5", "1", "--leap")
    with pytest.raises(ValueError) as raised:
        ziwei.solar(2001, 5, 1, leap=True)
    assert "ziwei: " + str(raised.value) == done.stderr.rstrip("\n")


def test_places_lists_the_commands_places():
    names = [line.split("\t")[0] for line in command("places", "Su").stdout.splitlines()]
    found = ziwei.places("Su")
    assert [place["name"] for place in found["places"]] == names
    assert ziwei.places("Taipei", limit=1)["more"] is True


def find_lines(*args):
    done = command("find", "--format=jsonl", "--jobs=1", *args)
    assert done.returncode == 0, done.stderr
    return [json.loads(line) for line in done.stdout.splitlines()]


def test_find_yields_the_commands_matches_across_windows():
    # Three windows of dates, the last one short.
    args = ["--from=2000-12-20", "--to=2003-01-05", "--where=命宮 has 紫微,天府",
            "--sex=female", "--hours=1,5,13"]
    expected = find_lines(*args)
    # Matches in the first window and in the second.
    assert {"2001", "2002"} <= {match["solar"][:4] for match in expected}
    got = list(ziwei.find(from_="2000-12-20", to="2003-01-05", where=["命宮 has 紫微,天府"],
                          sex="female", hours="1,5,13"))
    assert got == expected


def test_find_keeps_the_limit_across_windows():
    expected = find_lines("--from=2001-01-01", "--to=2004-12-31", "--where=命宮 has 紫微",
                          "--limit=700")
    assert len(expected) == 700
    got = list(ziwei.find(where="命宮 has 紫微", from_="2001-01-01", to="2004-12-31",
                          limit=700))
    assert got == expected


def test_find_searches_no_further_than_it_is_read():
    # The first matches of the whole default range (1912-02-18 to 2100-12-31)
    # come from its first window of 366 dates, and no more is searched.
    search = ziwei.find(where="命宮 has 紫微")
    first = list(itertools.islice(search, 3))
    assert first == find_lines("--where=命宮 has 紫微", "--limit=3")
    assert search.searched_through == "1913-02-17"
    rest = list(search)
    assert search.searched_through == "2100-12-31"
    assert len(rest) > 1000


@pytest.mark.parametrize("options", [
    ["--where=命宮 has 紫薇"],
    ["--where=命宮 has 紫微", "--to=2101-01-01"],
    ["--where=命宮 has 紫微", "--from=2001-01-02", "--to=2001-01-01"],
    ["--where=命宮 has 紫微", "--from=2001-1-2"],
    ["--where=命宮 has 紫微", "--limit=0"],
    ["--where=命宮 has 紫微", "--hours=23", "--late-zi=next-day", "--from=2099-01-01"],
])
def test_find_refuses_at_once_with_the_commands_message(options):
    done = command("find", *options)
    assert done.returncode == 2
    keywords = {}
    for option in options:
        key, value = option[2:].split("=", 1)
        keywords[{"from": "from_"}.get(key, key).replace("-", "_")] = value
    with pytest.raises(ValueError) as raised:
        ziwei.find(**keywords)
    assert "ziwei: " + str(raised.value) == done.stderr.splitlines()[0]


def test_find_takes_no_format():
    with pytest.raises(TypeError, match="format"):
        ziwei.find(where="命宮 has 紫微", format="csv")


def test_threads_cast_at_once_as_one_alone():
    keywords = [keywords for keywords, _ in CASTS]
    alone = [ziwei.chart(**k) for k in keywords]
    wrong = []

    def cast(offset):
        for round_ in range(4):
            for i in range(len(keywords)):
                which = (i + offset + round_) % len(keywords)
                if ziwei.chart(**keywords[which]) != alone[which]:
                    wrong.append(which)

    threads = [threading.Thread(target=cast, args=(t,)) for t in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert wrong == []
