#!/usr/bin/env python3
"""Runs `quilmor-cli run --json` on a few series and checks each NAME.json
against the schema.

Usage: check_cli_json.py CLI SCHEMA DATA_FOLDER

Exit status 0 when every file is valid, 1 otherwise.
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

import jsonschema

# (value file, extra options): best of all with a bootstrap of both kinds, a
# preferred function, a two-piece fit allowed, a stopped run.
RUNS = [
    ("wabash_annual_peak_flow.txt", ["--bootstrap", "12", "--design-life", "50",
                                     "--freqs", "0.5,0.999"]),
    ("aircondit_failure_hours.txt", ["--pref", "57", "--bootstrap", "6",
                                     "--bootstrap-kind", "parametric"]),
    ("manaus_rio_negro_level.txt", ["--breakpoint", "--periods", "10,100"]),
    ("flat.txt", []),
]


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    cli, schema_path, data = argv[1], pathlib.Path(argv[2]), pathlib.Path(argv[3])
    schema = json.loads(schema_path.read_text(encoding="utf-8"))
    validator = jsonschema.validators.validator_for(schema)(schema)
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        (folder / "flat.txt").write_text("5\n" * 8)
        for name, options in RUNS:
            if name != "flat.txt":
                shutil.copy(data / name, folder / name)
            run = subprocess.run([cli, "run", str(folder / name), "--json", *options],
                                 capture_output=True, text=True)
            if run.returncode not in (0, 1):
                print(f"{name}: exit {run.returncode}: {run.stderr}", file=sys.stderr)
                failures += 1
                continue
            document_path = (folder / name).with_suffix(".json")

            def no_constant(c):
                raise ValueError(f"{c} is not a JSON number")

            document = json.loads(document_path.read_text(encoding="utf-8"),
                                  parse_constant=no_constant)
            errors = list(validator.iter_errors(document))
            for error in errors:
                path = "/" + "/".join(str(p) for p in error.absolute_path)
                print(f"{name}: {path}: {error.message}", file=sys.stderr)
            failures += bool(errors)
            if (run.returncode == 1) != document["stop"]:
                print(f"{name}: exit {run.returncode} but stop is {document['stop']}",
                      file=sys.stderr)
                failures += 1
            print(f"{name}: {'invalid' if errors else 'valid'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
