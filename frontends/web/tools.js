// Beside the panel: time control, the inspector and saving the session as a scenario.

import { download, stamp } from "./capture.js";

export function connectTools(instrument) {
    document.getElementById("save-session").addEventListener("click", () => {
        const text = instrument.sessionScenario();
        download(new Blob([text], { type: "text/plain" }), `txm9-session-${stamp()}.scenario`);
    });
}
