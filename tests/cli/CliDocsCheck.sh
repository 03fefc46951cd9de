#!/bin/sh
# The man page and the bash completion must name every command corvane-cli's usage lists,
# every option of each, and every record table report's --table takes. The usage is taken from the program itself, so a new command or
# option that the man page or the completion lacks fails here.
# Usage: CliDocsCheck.sh CORVANE_CLI MAN_PAGE COMPLETION
set -u
cli=$1 man=$2 completion=$3
usage=$("$cli" --help) || { echo "corvane-cli --help failed"; exit 1; }

commands=$(printf '%s\n' "$usage" | sed -n 's/^  corvane-cli \([a-z][a-z0-9-]*\).*/\1/p')
[ -n "$commands" ] || { echo "no command found in the usage"; exit 1; }

# The man page as text: fonts and escaped hyphens undone.
man_text=$(sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' "$man")

# The words offered first: the completion's first word list, over several lines maybe.
first_words=$(tr '\n' ' ' <"$completion" | grep -o "compgen -W '[^']*'" | head -n 1 | tr "'" ' ')

failed=0
for command in $commands; do
    # The command's usage lines: from its own line to the next command's.
    options=$(printf '%s\n' "$usage" | awk -v c="$command" '
        /^  corvane-cli / { inside = ($2 == c) }
        inside' | grep -oE -- '(^|[^a-zA-Z0-9-])(--[a-z][a-z-]*|-o)' | sed 's/^[^-]*//' | sort -u)
    # Its man page section: from its heading to the next heading.
    section=$(printf '%s\n' "$man_text" | awk -v c="$command" '
        /^\.S[SH]/ { inside = ($1 == ".SS" && $3 == c) }
        inside')
    [ -n "$section" ] || { echo "man page: no section for $command"; failed=1; }
    branch=$(grep -E "^[[:space:]]*$command\) options=" "$completion")
    [ -n "$branch" ] || { echo "completion: no options for $command"; failed=1; }
    printf ' %s ' "$first_words" | grep -qe " $command " ||
        { echo "completion: $command not offered as a command"; failed=1; }
    for option in $options; do
        printf '%s\n' "$section" | grep -qe "$option\b" ||
            { echo "man page: $command lacks $option"; failed=1; }
        printf '%s\n' "$branch" | grep -qE -- "[' ]$option[' ]" ||
            { echo "completion: $command lacks $option"; failed=1; }
    done
done
# The record tables: the usage's words come from the program's table of record tables.
tables=$(printf '%s\n' "$usage" | sed -n 's/.*--table \([a-z|]*\).*/\1/p' | tr '|' ' ')
[ -n "$tables" ] || { echo "no --table words found in the usage"; failed=1; }
table_words=$(grep -A1 -e '--table)' "$completion" | grep -o "compgen -W '[^']*'" | tr "'" ' ')
for table in $tables; do
    printf '%s\n' "$man_text" | grep -qe "--table [a-z|]*\b$table\b" ||
        { echo "man page: --table lacks $table"; failed=1; }
    printf ' %s ' "$table_words" | grep -qe " $table " ||
        { echo "completion: --table lacks $table"; failed=1; }
done
exit $failed
