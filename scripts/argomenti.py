"""The command lines of the Python scripts of scripts/ and benchmarks/: each answers --help with its usage and
refuses a wrong argument with it (exit code 2), before it builds, installs, checks or runs anything. The scripts run
under python3 -B, so that importing this module leaves no cache in the checkout."""
import argparse
import os


def parser(doc, script):
    """A parser named after the script as it is called from the checkout's root (scripts/texts.py,
    benchmarks/startup.py), described by the script's own text: its docstring up to the usage line that starts with
    that name, which argparse writes itself."""
    name = os.path.basename(os.path.dirname(os.path.abspath(script))) + "/" + os.path.basename(script)
    return argparse.ArgumentParser(prog=name, description=doc.split("\n    " + name)[0].strip(),
                                   formatter_class=argparse.RawDescriptionHelpFormatter)


def whole_from(low):
    """A whole number from `low`."""
    def whole(text):
        try:
            value = int(text)
        except ValueError:
            raise argparse.ArgumentTypeError("%r is not a whole number" % text)
        if value < low:
            raise argparse.ArgumentTypeError("%d is less than %d" % (value, low))
        return value
    return whole


def seconds(text):
    """A time in seconds above 0."""
    try:
        value = float(text)
    except ValueError:
        raise argparse.ArgumentTypeError("%r is not a number of seconds" % text)
    if not value > 0 or value == float("inf"):
        raise argparse.ArgumentTypeError("%r is not a time above 0" % text)
    return value


def program_folder(program):
    """A program folder that holds `program`."""
    def folder(text):
        if not os.path.isfile(os.path.join(text, program)):
            raise argparse.ArgumentTypeError("%r is not a program folder: it holds no %s" % (text, program))
        return text
    return folder


def program_folders(p, args, program, root):
    """The program folders given, else the checkout's build/bin, which must hold `program` too."""
    if args.folders:
        return args.folders
    default = os.path.join(root, "build", "bin")
    try:
        return [program_folder(program)(default)]
    except argparse.ArgumentTypeError as e:
        p.error("%s (build it with scripts/build, or name a program folder)" % e)
