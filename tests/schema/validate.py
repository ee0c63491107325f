#!/usr/bin/env python3
"""Checks a JSON document against a JSON Schema (draft 2020-12).

Usage: validate.py FILE SCHEMA

Exit status 0 when FILE is valid, 1 when it is not (every violation is listed
on stderr, one per line with its location), 2 when FILE or SCHEMA cannot be
read, is not JSON, or the schema itself is not a valid schema.
"""
import json
import sys

import jsonschema


def load(path, what):
    # Python's reader accepts NaN and Infinity, which are not JSON: refuse them.
    def no_constant(name):
        raise ValueError(f"{name} is not a JSON number")

    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f, parse_constant=no_constant)
    except (OSError, ValueError) as e:
        print(f"validate.py: cannot read the {what} {path}: {e}", file=sys.stderr)
        sys.exit(2)


def location(error):
    return "/" + "/".join(str(p) for p in error.absolute_path)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    document = load(argv[1], "document")
    schema = load(argv[2], "schema")
    validator_class = jsonschema.validators.validator_for(schema)
    try:
        validator_class.check_schema(schema)
    except jsonschema.SchemaError as e:
        print(f"validate.py: {argv[2]} is not a valid schema: {e.message}", file=sys.stderr)
        return 2
    errors = sorted(validator_class(schema).iter_errors(document), key=lambda e: [str(p) for p in e.absolute_path])
    for error in errors:
        print(f"{argv[1]}: {location(error)}: {error.message}", file=sys.stderr)
    if errors:
        return 1
    print(f"{argv[1]}: valid")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
