// Time control, the inspector and the session beside the panel.
export function connectTools(instrument) {
    void instrument;
}
