#!/usr/bin/env python3
"""Checks that the run schema rejects what a faulty writer would produce.

Usage: schema_cases.py EXAMPLE SCHEMA

Starts from the valid example document and changes one thing at a time; each
changed document must be invalid, and a stopped run must be valid.
"""
import copy
import json
import sys

import jsonschema


def stopped_run(doc):
    for key in ("chosen", "candidates", "tables", "design_values", "bootstrap"):
        del doc[key]
    doc["stop"] = True
    doc["stop_message"] = ("No data below threshold, or no variation between data. "
                           "Program stops running")


def setter(path, value):
    def change(doc):
        target = doc
        for key in path[:-1]:
            target = target[key]
        target[path[-1]] = value
    return change


def remover(path):
    def change(doc):
        target = doc
        for key in path[:-1]:
            target = target[key]
        del target[path[-1]]
    return change


# (what is wrong, change) - each must make the document invalid.
INVALID = [
    ("no seed", remover(["seed"])),
    ("no program version", remover(["program", "version"])),
    ("seed below 0", setter(["seed"], -1)),
    ("unknown top-level field", setter(["extra"], 1)),
    ("frequency of a design row is 1", setter(["design_values", 0, "F"], 1.0)),
    ("return period of a design row is 1", setter(["design_values", 0, "T"], 1)),
    ("risk above 1", setter(["design_values", 0, "risk"], 1.5)),
    ("design row without its median column", remover(["design_values", 0, "bootstrap_median"])),
    ("number as text", setter(["design_values", 0, "X"], "42.2")),
    ("bootstrap of 0 replicates written as a block", setter(["bootstrap", "replicates"], 0)),
    ("too many replicates requested", setter(["options", "bootstrap"], 100001)),
    ("unknown bootstrap kind", setter(["options", "bootstrap_kind"], "jackknife")),
    ("design life 0", setter(["options", "design_life"], 0)),
    ("period not above 1 in the options", setter(["options", "return_periods"], [1, 10])),
    ("candidate with an unknown field", setter(["candidates", 0, "weight"], 0.5)),
    ("candidate without its goodness of fit", remover(["candidates", 1, "anderson_darling"])),
    ("Kolmogorov-Smirnov distance above 1", setter(["candidates", 0, "ks_distance"], 1.5)),
    ("correlation above 1", setter(["chosen", "goodness_of_fit", "ppcc"], 1.01)),
    ("chosen goodness with an unknown field", setter(["chosen", "goodness_of_fit", "x"], 1)),
    ("parameter that is not a number", setter(["chosen", "parameters", "A"], None)),
    ("frequency row without its upper limit", remover(["tables", "frequencies", 0, "upper_percent"])),
    ("a table left out", remover(["tables", "x_confidence"])),
    ("share of a code above 1", setter(["bootstrap", "chosen_codes", 0, "share"], 1.2)),
    ("limits without the count left out", remover(["bootstrap", "rows", 0, "chosen_anew", "left_out"])),
    ("run not stopped but without a chosen function", remover(["chosen"])),
    ("stopped run that still has results", setter(["stop"], True)),
]


def main(argv):
    with open(argv[1], encoding="utf-8") as f:
        example = json.load(f)
    with open(argv[2], encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []
    if not validator.is_valid(example):
        failures.append("the example itself is invalid")
    stopped = copy.deepcopy(example)
    stopped_run(stopped)
    if not validator.is_valid(stopped):
        failures.append("a stopped run is invalid: "
                        + "; ".join(e.message for e in validator.iter_errors(stopped)))
    for what, change in INVALID:
        doc = copy.deepcopy(example)
        change(doc)
        if validator.is_valid(doc):
            failures.append(f"accepted: {what}")
    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{len(INVALID) + 2} cases, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
