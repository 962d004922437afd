"""The command line the package is held to: the test command's build, or
AMBRELAY_CLI."""

import json
import os
import subprocess
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def cli():
    program = Path(os.environ.get("AMBRELAY_CLI", ROOT / "build" / "default" / "cli" / "ambrelay-cli"))
    assert program.is_file(), f"no ambrelay-cli at {program}: build it first (scripts/test.sh does)"

    def run(*args, stdin=None):
        done = subprocess.run([str(program), *map(str, args)], input=stdin, capture_output=True, text=True)
        return done.returncode, done.stdout, done.stderr.strip()

    def as_json(*args):
        status, out, err = run(*args, "--json")
        return (json.loads(out) if status == 0 else None), err

    run.json = as_json
    return run
