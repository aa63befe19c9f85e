# SPDX-License-Identifier: MIT
# fish completion for qvj2avi: its options, a file or folder after -o, clips and folders
# elsewhere.
complete -c qvj2avi -f
complete -c qvj2avi -s o -l output -r -F -d 'The AVI file, or the folder, to write'
complete -c qvj2avi -s f -l force -d 'Replace existing AVI files'
complete -c qvj2avi -s r -l recursive -d 'Convert the clips in the folders given and below them'
complete -c qvj2avi -s j -l jobs -x -d 'Clips converted at once'
complete -c qvj2avi -s q -l quiet -d 'No progress display and no summary'
complete -c qvj2avi -l progress -d 'The progress line, or JSON objects on standard output'
complete -c qvj2avi -a '--progress=line --progress=json' -n 'string match -q -- "--progress=*" (commandline -ct)'
complete -c qvj2avi -s s -l salvage -d 'Pass over damage and go on with the next whole picture'
complete -c qvj2avi -l like -r -F -d 'With -s: size, rate and sound of this clip for one without header'
complete -c qvj2avi -l scan -d 'What a salvage would recover, as JSON, converting nothing'
complete -c qvj2avi -l info -d 'Print the header fields of each clip and convert nothing'
complete -c qvj2avi -l json -d 'With --info: one JSON array'
complete -c qvj2avi -s h -l help -d 'Show the help text'
complete -c qvj2avi -s V -l version -d 'Show the version'

# Clips (.qvj in any letter case) and folders, where no option is being typed.
function __qvj2avi_clips
    set -l token (commandline -ct)
    for path in $token*
        if test -d $path
            echo $path/
        else if string match -qi -- '*.qvj' $path
            echo $path
        end
    end
end
complete -c qvj2avi -n 'not string match -q -- "-*" (commandline -ct)' -a '(__qvj2avi_clips)'
