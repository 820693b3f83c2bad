// The scenario playground.
export function connectPlayground() {}
