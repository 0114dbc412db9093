#!/usr/bin/env python3
"""An example player for tarvex-sim's line protocol (docs/protocol.md).

Starts tarvex-sim for one nation and answers every request: it attacks a
neighbour with three times its troops, defends with 防御, and otherwise
builds up the town. Usage: protocol_client.py SIM NATION [tarvex-sim options]
"""
import json
import subprocess
import sys


def decide(request):
    if request["asked"] == "tactic":
        return {"tactic": 5 if request["battle"]["side"] == "defence" else 2}
    cities = {c["id"]: c for c in request["cities"]}
    me = cities[request["city"]]
    attack = request["open"].get("attack")
    if attack:
        march = min(me["troops"], me["food"], me["gold"])
        for target in attack["targets"]:
            if march > 3 * (cities[target]["troops"] + 1):
                return {"order": "attack", "target": target, "troops": march, "food": march, "gold": march}
    if me["gold"] >= 10:
        return {"order": "build_town", "amount": min(me["gold"], 100)}
    return {"order": "do_nothing"}


def main():
    sim, nation, *options = sys.argv[1:]
    game = subprocess.Popen([sim, "--player", nation, "--protocol", *options],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, encoding="utf-8")
    hello = json.loads(game.stdout.readline())
    assert hello["protocol"] == "tarvex-lines" and hello["version"] == 1, hello
    refused = 0
    for line in game.stdout:
        message = json.loads(line)
        if message["type"] == "end":
            print(f"{nation}: {message['reason']} in year {message['year']} {message['winner']}")
            break
        if message["type"] in ("refused", "error"):
            refused += 1
            print("refused:", message, file=sys.stderr)
            continue
        # After a refusal, the answer that is never refused: defend, or do nothing.
        fallback = {"tactic": 5} if message["asked"] == "tactic" else {"order": "do_nothing"}
        answer = decide(message) if refused == 0 else fallback
        refused = 0
        game.stdin.write(json.dumps(answer, ensure_ascii=False) + "\n")
        game.stdin.flush()
    game.stdin.close()
    return game.wait()


if __name__ == "__main__":
    sys.exit(main())
