#!/bin/sh
# The module as pip installs it: an sdist made from the source tree, a wheel built from that
# sdist for each Python given (the backend of the Python running pip, without build
# isolation: no package index is reached), installed into a fresh venv without system
# site-packages, where the module's own tests run with what that venv has (tests needing
# numpy or Pillow skip). pytest itself comes from Debian, as its pure-Python files alone.
# usage: wheel_test.sh SOURCE WORK TESTS PYTHON...
#   an interpreter named "pyenv-3.13" is pyenv's newest 3.13, passed over when there is none;
#   of those named so, the first present alone is tested (each costs a build of the module).
set -eu
source=$1 work=$2 tests=$3
shift 3
dist_packages=/usr/lib/python3/dist-packages

rm -rf "$work/src" "$work/sdist" "$work/dist" "$work/pytest" "$work/backend"
mkdir -p "$work/src" "$work/dist" "$work/pytest" "$work/backend"
tar -C "$source" --exclude=./build --exclude='./build-*' --exclude=./.git --exclude=./web/node_modules \
  --exclude=./_skbuild -cf - . | tar -C "$work/src" -xf -
/usr/bin/python3 -m build --sdist --no-isolation --skip-dependency-check -o "$work/dist" "$work/src" >/dev/null
mkdir "$work/sdist"
tar -C "$work/sdist" -xzf "$work"/dist/orv-*.tar.gz
sdist=$(echo "$work"/sdist/orv-*)
# The same folders every run, so that ccache serves the engine's objects again.
export CCACHE_BASEDIR="$sdist" CCACHE_NOHASHDIR=1

for m in pytest _pytest pluggy iniconfig py.py py attr attrs packaging; do
  ln -s "$dist_packages/$m" "$work/pytest/$m"
done
# Debian's scikit-build and what it needs beside setuptools, for another Python's build venv.
for m in skbuild wheel packaging distro; do
  ln -s "$dist_packages/$m" "$work/backend/$m"
done

tested=0
pyenv_tested=0
for python in "$@"; do
  case $python in
    pyenv-*)
      [ "$pyenv_tested" -eq 0 ] || continue
      version=${python#pyenv-}
      python=$(ls -d "${PYENV_ROOT:-$HOME/.pyenv}"/versions/"$version".*/bin/python"$version" 2>/dev/null \
        | sort -V | tail -n 1)
      if [ -z "$python" ]; then
        echo "wheel_test: no pyenv Python $version here: passed over"
        continue
      fi
      pyenv_tested=1
      ;;
  esac
  tag=$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')
  echo "wheel_test: Python $tag ($python)"
  wheels="$work/dist/$tag"
  if [ "$python" = /usr/bin/python3 ]; then
    "$python" -m pip wheel -q --no-build-isolation --no-deps --no-index -w "$wheels" "$sdist"
  else
    # Setuptools from Debian's wheel into a build venv; the rest of the backend by path.
    "$python" -m venv --clear "$work/build-$tag"
    "$work/build-$tag/bin/python" -m pip install -q --no-index /usr/share/python-wheels/setuptools-*.whl
    PYTHONPATH="$work/backend" "$work/build-$tag/bin/python" -m pip wheel -q --no-build-isolation --no-deps \
      --no-index -w "$wheels" "$sdist"
  fi
  "$python" -m venv --clear "$work/venv-$tag"
  "$work/venv-$tag/bin/python" -m pip install -q --no-index --no-deps "$wheels"/orv-*.whl
  cd "$work"
  installed=$("$work/venv-$tag/bin/python" -c 'import orv; print(orv.__file__)')
  case $installed in
    "$work/venv-$tag/"*) ;;
    *) echo "wheel_test: orv imported from $installed, not from the venv" >&2; exit 1 ;;
  esac
  # The wheel's types, as a type checker finds them installed (py.typed): Debian's mypy
  # looks into venvs of its own Python.
  if [ "$python" = /usr/bin/python3 ]; then
    /usr/bin/python3 -m mypy --python-executable "$work/venv-$tag/bin/python" --no-incremental \
      --config-file "$tests/mypy.ini" "$tests/typed_example.py"
  fi
  PYTHONPATH="$work/pytest" PYTHONDONTWRITEBYTECODE=1 "$work/venv-$tag/bin/python" -m pytest -q \
    -p no:cacheprovider -rs "$tests"
  tested=$((tested + 1))
done
[ "$tested" -gt 0 ]
